// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace zirk::testing {

// A test's own file, written whole or failing the test.
inline void write(const QString& path, const QByteArray& bytes = {}) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace zirk::testing
