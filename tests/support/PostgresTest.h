#pragma once

#include "support/PostgresServer.h"

#include <gtest/gtest.h>

// A test on a database of its own on the shared test server, skipped where no server can
// run. A fixture that extends SetUp calls this one first and returns when it skipped or
// failed.
class PostgresTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString reason;
        server = PostgresServer::Shared(reason);
        if (server == nullptr) {
            GTEST_SKIP() << "PostgreSQL skipped: " << reason.toStdString();
        }
        name = server->NewDatabase(QStringLiteral("test"));
        ASSERT_FALSE(name.isEmpty()) << server->Reason().toStdString();
    }
    bool Ready() const { return !IsSkipped() && !HasFatalFailure(); }

    PostgresServer* server = nullptr;
    QString name; // the database's
};
