#pragma once

// Where the parts of a document window go for a given inner size; all lengths in twips.
struct DocumentLayout {
    int headWidth = 0;
    bool logoVisible = false;
    int logoLeft = 0;
    int headerWidth = 0;
    bool gridVisible = false;
    int gridLeft = 100;
    int gridTop = 2200;
    int gridWidth = 0;
    int gridHeight = 0;
};

DocumentLayout LayOutDocument(int innerWidth, int innerHeight);
