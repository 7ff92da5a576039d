#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A test's own temporary folder, gone with the test, and the one way tests write files there.
class TestFolder : public QTemporaryDir
{
public:
    // Writes bytes to the file at relative (folders created as needed), replacing it, and
    // gives its path; fails the current test on error.
    QString Write(const QString &relative, const QByteArray &bytes) const;
};
