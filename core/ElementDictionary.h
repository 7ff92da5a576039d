#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The element-name dictionary: Name=Value lines (Elements.ini) that give a human-readable name
// to an element reference such as N104. Nothing in a line is trimmed or interpreted.
class ElementDictionary
{
public:
    ElementDictionary() = default;
    explicit ElementDictionary(const QStringList &lines) { SetLines(lines); }

    // Replaces the lines with those of the file at path and tells whether it could be read; a
    // missing or unreadable file leaves the dictionary as it was.
    bool LoadFromFile(const QString &path);
    void SetLines(const QStringList &lines);

    // The value of the first line whose name (the text before its first "=") equals key
    // ignoring letter case: the rest of that line after the "=", unchanged. Empty when no
    // line matches.
    QString Lookup(QStringView key) const;

    // A file's text: UTF-8 when the bytes are valid UTF-8, otherwise one Latin-1 character
    // per byte.
    static QString DecodeText(QByteArrayView bytes);

private:
    QStringList lines_;
};
