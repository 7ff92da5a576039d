#include "CodeDictionary.h"

#include "ElementDictionary.h"
#include "NameValueLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// A segment id of two or three letters and digits, an element number of two digits or more,
// and a component number: N101, ISA16, CLM05-1.
bool IsElementReference(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[A-Z][A-Z0-9]{1,2}[0-9]{2,}(-[0-9]+)?$"),
        QRegularExpression::CaseInsensitiveOption);
    return form.match(text).hasMatch();
}

} // namespace

QString CodeDictionary::Problem::Message() const
{
    const QString file = QDir::toNativeSeparators(Path);
    if (Line <= 0)
        return file + QLatin1String(": ") + Description;
    return file + QLatin1String(", line ") + QString::number(Line) + QLatin1String(": ")
        + Description;
}

void CodeDictionary::LoadFile(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return;
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        problems_.append({ path, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()) });
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        problems_.append({ path, 0, QStringLiteral("cannot be read: %1").arg(file.errorString()) });
        return;
    }
    Load(ElementDictionary::DecodeText(bytes), path);
}

void CodeDictionary::LoadShippedAndUser(const QString &programFolder, const QString &settingsFolder)
{
    LoadFile(programFolder + u'/' + QLatin1String(ShippedFileName));
    LoadFile(settingsFolder + u'/' + QLatin1String(UserFileName));
}

void CodeDictionary::Load(QStringView text, const QString &path)
{
    // This file's entries with the line each came from, merged over the others at the end so
    // that within the file the first entry stands.
    QHash<QString, QHash<QString, std::pair<QString, qsizetype>>> entries;
    QStringList sections;
    bool skipping = false; // after a section header that was refused
    const QStringList lines = NameValueLines::Split(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype lineNumber = i + 1;
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        const auto report = [&](const QString &description) {
            problems_.append({ path, lineNumber, description });
        };

        if (line.startsWith(u'[')) {
            sections.clear();
            skipping = true;
            if (!line.endsWith(u']')) {
                report(QStringLiteral("a section header must end with \"]\""));
                continue;
            }
            const QStringList names = line.sliced(1, line.size() - 2).split(u',');
            QStringList accepted;
            for (const QString &name : names) {
                const QString reference = name.trimmed().toUpper();
                if (!IsElementReference(reference)) {
                    report(QStringLiteral("\"%1\" is not an element reference such as N101 or "
                                          "CLM05-1")
                               .arg(name.trimmed()));
                    accepted.clear();
                    break;
                }
                accepted.append(reference);
            }
            if (accepted.isEmpty())
                continue;
            sections = accepted;
            skipping = false;
            continue;
        }

        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            report(QStringLiteral("neither a [SECTION] header nor a CODE=Meaning line"));
            continue;
        }
        const QString code = line.first(equals).trimmed();
        if (code.isEmpty()) {
            report(QStringLiteral("no code before \"=\""));
            continue;
        }
        if (skipping)
            continue; // its section header was reported already
        if (sections.isEmpty()) {
            report(QStringLiteral("a code before any [SECTION] header"));
            continue;
        }
        const QString meaning = line.sliced(equals + 1).trimmed();
        for (const QString &section : std::as_const(sections)) {
            auto &codes = entries[section];
            const auto first = codes.constFind(code);
            if (first != codes.constEnd()) {
                report(QStringLiteral("%1 is given again in [%2]; line %3 stands")
                           .arg(code, section)
                           .arg(first->second));
                continue;
            }
            codes.insert(code, { meaning, lineNumber });
        }
    }

    for (auto section = entries.cbegin(); section != entries.cend(); ++section) {
        auto &meanings = meanings_[section.key()];
        for (auto entry = section->cbegin(); entry != section->cend(); ++entry)
            meanings.insert(entry.key(), entry->first);
    }
}

QString CodeDictionary::Meaning(QStringView reference, QStringView code) const
{
    const auto section = meanings_.constFind(reference.toString().toUpper());
    if (section == meanings_.constEnd())
        return QString();
    return section->value(code.trimmed().toString());
}
