#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// The lines of a settings file, each of the form Name=Value, looked up and updated by name.
//
// A line's name is the text before its first "=" and its value everything after it, untrimmed;
// a line without "=" has no name. Names match ignoring letter case, spaces count, and the first
// line with a name wins.
class TSettingsList
{
public:
    TSettingsList() = default;
    explicit TSettingsList(QStringList lines)
        : lines_(std::move(lines))
    { }

    const QStringList &Lines() const { return lines_; }
    void Clear() { lines_.clear(); }

    // Whether a line has this name (its value may be empty).
    bool Contains(QStringView name) const { return IndexOf(name) >= 0; }
    // The value of the first line with this name, or an empty text when there is none.
    QString Value(QStringView name) const;
    // The value read as a 32-bit integer; nothing when it is absent, empty or not a number.
    std::optional<qint32> IntegerValue(QStringView name) const;
    // Sets target to the integer value when there is a usable one, else leaves it unchanged.
    // Returns whether target was set.
    bool ReadInteger(QStringView name, qint32 &target) const;

    // Replaces the first line with this name by name=value, or appends that line when there
    // is none. An empty value removes the first line with this name instead.
    void SetValue(const QString &name, const QString &value);

    // Replaces the lines by those of the file at path and returns true; returns false, the
    // lines unchanged, when there is no such file. Raises Exception "Cannot open file "%s". %s"
    // when the file exists but cannot be read.
    bool LoadFromFile(const QString &path);
    // Writes every line followed by CR LF to the file at path, in UTF-8, replacing the file as
    // one step and creating its folder when missing. Raises Exception "Cannot create file "%s".
    // %s" on failure, leaving any earlier file as it was.
    void SaveToFile(const QString &path) const;

private:
    qsizetype IndexOf(QStringView name) const;

    QStringList lines_;
};
