#pragma once

#include <array>

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

// `gridTop`: where the header frame ends, the designed 2200 or lower when its texts need it.
DocumentLayout LayOutDocument(int innerWidth, int innerHeight, int gridTop = 2200);

// Field name and value of one header line, in twips inside the header frame.
struct HeaderLine {
    int nameLeft, nameWidth, valueLeft, valueWidth, top;
};

// What the header's texts need at the desktop's font, in twips: the widest name and value
// of the left lines (meter, serial number, user) and of the right ones (date, time), and
// the height of a line.
struct HeaderNeeds {
    int leftNames = 0;
    int leftValues = 0;
    int rightNames = 0;
    int rightValues = 0;
    int lineHeight = 0;
};

// The header's five lines (meter, serial number, user, date, time): the designed places,
// moved apart where a text needs more room than the design gave it.
struct HeaderPlaces {
    std::array<HeaderLine, 5> lines{};
    int lineHeight = 0;
    int frameHeight = 0; // of the header frame, which starts 950 twips from the top
    int gridTop = 0;
};

HeaderPlaces LayOutHeader(const HeaderNeeds& needs);
