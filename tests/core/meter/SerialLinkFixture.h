#pragma once

#include "meter/SerialLink.h"
#include "support/FakeSerialLine.h"
#include "support/ScriptedUi.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

inline const QString kOk = QStringLiteral("\r\n!\r\n>");
inline const QString kRefused = QStringLiteral("\r\n?\r\n>");
inline const QString kSerialCmd = QStringLiteral("U.596\r\n");

class SerialLinkTest : public ::testing::Test {
protected:
    // Devices must be added before the link is made: the catalogue lists them then.
    SerialLink& Link() {
        if (!link) {
            link = std::make_unique<SerialLink>(ui, line.Catalogue(), line.PortMaker());
            link->SetStatusHook([this](const QString& port, const QString& baud) {
                status.append(port + QLatin1Char('|') + baud);
            });
        }
        return *link;
    }

    // A meter on the device "meter" answering with these pieces, one reply per command.
    FakeSerialLine::Device& Meter(std::vector<QStringList> replies) {
        FakeSerialLine::Device& d = line.Add(QStringLiteral("meter"));
        d.answer = [replies, n = std::size_t{0}](const QString&) mutable {
            return replies[std::min(n++, replies.size() - 1)];
        };
        return d;
    }

    ScriptedUi ui;
    FakeSerialLine line;
    std::unique_ptr<SerialLink> link;
    QStringList status;
};
