#pragma once

#include "MessageBoxes.h"
#include "TextPrinters.h"
#include "X12Builder.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

// One message the program would have shown in a box.
struct ShownMessage
{
    MessageBoxes::Kind kind;
    QString title;
    QString text;
};

// Records the program's message boxes instead of showing them, for as long as it lives.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();

    const std::vector<ShownMessage> &Messages() const { return messages_; }
    QStringList Texts() const;

private:
    std::vector<ShownMessage> messages_;
};

// Records the addresses the program hands to the desktop instead of opening them, for as long
// as it lives; the desktop opens each of them, or none once Refuse is called.
class OpenRecorder
{
public:
    OpenRecorder();
    ~OpenRecorder();

    const QList<QUrl> &Urls() const { return urls_; }
    void Refuse() { opens_ = false; }

private:
    QList<QUrl> urls_;
    bool opens_ = true;
};

using X12Builder::Interchange;

// The three-segment interchange (ISA, GS, IEA) with CR LF breaks.
QByteArray ThreeSegments();
