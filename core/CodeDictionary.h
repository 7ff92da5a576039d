#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

// The meanings of coded element values, read from code files (Codes.ini): sections named by
// element references, each holding CODE=Meaning lines, a later file's entries overriding an
// earlier one's.
//
//   ; a comment
//   [N101, NM101]        one or more element references, a component as CLM05-1
//   ST=Ship To           the code exactly as the data holds it, then its meaning
//
// Spaces around references, codes and meanings are dropped. A line that fits none of these
// forms, an entry before any section and a code given twice in a section of one file are
// reported with their line number and ignored; the first of the file's entries stands.
class CodeDictionary
{
public:
    // The file shipped beside the executables, and the user's copy in the settings folder.
    static constexpr char ShippedFileName[] = "Codes.ini";
    static constexpr char UserFileName[] = "BrimletCodes.ini";

    // A line of a code file that was ignored, or a file that could not be read (line 0).
    struct Problem
    {
        QString Path;
        qsizetype Line = 0;
        QString Description;

        // "PATH, line 12: DESCRIPTION", or "PATH: DESCRIPTION" for the whole file.
        QString Message() const;
        bool operator==(const Problem &) const = default;
    };

    // Adds the entries of the file at path over those held. A missing file adds nothing and is
    // no problem; one that exists but cannot be read is.
    void LoadFile(const QString &path);
    // Adds the entries of text over those held; path names it in the problems.
    void Load(QStringView text, const QString &path);
    // The shipped file in programFolder, then the user's copy in settingsFolder over it.
    void LoadShippedAndUser(const QString &programFolder, const QString &settingsFolder);

    // The meaning of code in the element named by reference (N101, CLM05-1; letter case of
    // the reference does not matter, the code's does): empty when none is known. Spaces around
    // the code are not part of it.
    QString Meaning(QStringView reference, QStringView code) const;

    // Every problem met by the loads so far, in the order met.
    const QList<Problem> &Problems() const { return problems_; }

private:
    // Meaning by code, by upper-cased element reference.
    QHash<QString, QHash<QString, QString>> meanings_;
    QList<Problem> problems_;
};
