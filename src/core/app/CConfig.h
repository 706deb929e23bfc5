#pragma once

#include <QString>

class Ui;

// The per-user configuration file "MervexConfig.ini", which holds the work directory as
// the one text "Dir = <path>", and the special folders it lives in.
class CConfig {
public:
    static constexpr int kDocumentsFolder = 5;
    static constexpr int kAppDataFolder = 26;

    explicit CConfig(Ui& ui) : m_ui(ui) {}

    // Not cached: every read goes to the file; the first read creates it.
    QString WorkDir();
    void WorkDir(const QString& strWorkDir);

    // 5 = the user's documents folder, 26 = the per-user configuration folder of Mervex
    // (created on demand); "" for any other number or a folder that cannot be resolved.
    QString SpecialFolderPath(int number);
    QString ConfigFilePath();

    bool WriteConfigFile(const QString& path, const QString& text);
    bool ReadConfigFile(QString& text, const QString& path);

private:
    Ui& m_ui;
};
