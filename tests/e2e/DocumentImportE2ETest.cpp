#include "DocumentEmulator.h"

TEST_F(DocumentOverTheEmulator, ImportSaveAndReopenGiveTheSameDataset) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    bool waitShown = false;
    ui.onYield = [&] { waitShown = waitShown || WaitDialog() != nullptr; };
    Doc().MenuImport();
    EXPECT_TRUE(waitShown);
    EXPECT_EQ(WaitDialog(), nullptr);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(QLatin1Char('\n')).toStdString();
    const QList<QByteArray> memory = MemoryFile(kRecords).split('\n');
    ASSERT_EQ(Grid().rowCount(), kRecords);
    for (int r = 0; r < kRecords; ++r) {
        ASSERT_EQ(Row(r).join(QLatin1Char(';')), QString::fromLatin1(memory[r])) << "row " << r;
    }
    EXPECT_EQ(Doc().lblMeterValue->text(), QStringLiteral("Zentravox"));
    EXPECT_EQ(Doc().lblSerNoValue->text(), QStringLiteral("ZV-5"));
    EXPECT_EQ(Doc().lblUserValue->text(), QStringLiteral("nadia"));
    const MValSet imported = Doc().MVals();

    const QString path = dir.file(QStringLiteral("import.csv"));
    ui.dialogAnswers = {path};
    Doc().MenuFileSave();
    ASSERT_EQ(Doc().FilePath(), path);
    main->OpenDocument(path);
    EXPECT_TRUE(ui.messages.isEmpty());
    const MValSet& reopened = Doc().MVals();
    EXPECT_EQ(reopened.strMVals, imported.strMVals);
    EXPECT_EQ(reopened.strMeter, imported.strMeter);
    EXPECT_EQ(reopened.strSerNo, imported.strSerNo);
    EXPECT_EQ(reopened.strUser, imported.strUser);
    EXPECT_EQ(reopened.curDate, imported.curDate.addMSecs(-imported.curDate.time().msec()));
    ASSERT_EQ(Grid().rowCount(), kRecords);
    EXPECT_EQ(Row(kRecords - 1).join(QLatin1Char(';')), QString::fromLatin1(memory[kRecords - 1]));
}

TEST_F(DocumentOverTheEmulator, ClosingTheWaitDialogAbortsTheTransfer) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    DuringTransfer([] { WaitDialog()->close(); });
    Doc().MenuImport();
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Erreur d'importation!")});
    EXPECT_TRUE(Doc().MVals().strMVals.isEmpty());
    EXPECT_EQ(Doc().lblMeterValue->text(), QString());
    const QStringList log = sim->log();
    const qsizetype transfer = log.lastIndexOf(QStringLiteral("U.581"));
    ASSERT_GE(transfer, 0);
    EXPECT_EQ(log.mid(transfer + 1), QStringList{QStringLiteral("U.999")});
}

TEST_F(DocumentOverTheEmulator, ClosingDuringTheTransferAbortsItAndKeepsTheWindows) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    bool closedMain = true;
    bool importAgainIgnored = false;
    DuringTransfer([&] {
        const qsizetype sent = sim->log().size();
        Doc().MenuImport(); // a second click on Import while the first runs
        importAgainIgnored = sim->log().size() == sent;
        closedMain = main->close();
    });
    Doc().MenuImport();
    EXPECT_TRUE(importAgainIgnored);
    EXPECT_FALSE(closedMain);
    EXPECT_EQ(main->NumDocs(), 1);
    // The stop was the quit's: the import has nothing to report.
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    EXPECT_EQ(sim->log().back(), QStringLiteral("U.999"));
    // Once the import is back, the window closes as usual.
    EXPECT_TRUE(Doc().parentWidget()->close());
}

TEST_F(RefusingEmulator, AFailedImportShowsTheErrorAndAnEmptyTable) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    Doc().MenuImport();
    EXPECT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("Erreur d'importation!")});
    EXPECT_EQ(Doc().lblMeterValue->text(), QString());
    for (int c = 0; c < Grid().columnCount(); ++c) {
        EXPECT_EQ(Grid().Cell(0, c), QString());
    }
    // The window keeps what it showed (nothing): there is nothing to save.
    EXPECT_FALSE(Doc().Modified());
    EXPECT_EQ(sim->log().back(), QStringLiteral("U.999"));
}
