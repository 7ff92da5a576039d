#include "UiTestSupport.h"

#include "DocumentOpener.h"
#include "X12Builder.h"

MessageRecorder::MessageRecorder()
{
    MessageBoxes::SetReporter(
        [this](MessageBoxes::Kind kind, const QString &title, const QString &text) {
            messages_.push_back({ kind, title, text });
        });
}

MessageRecorder::~MessageRecorder()
{
    // Back to a recorder that drops everything: a test never raises a blocking box.
    MessageBoxes::SetReporter([](MessageBoxes::Kind, const QString &, const QString &) {});
}

QStringList MessageRecorder::Texts() const
{
    QStringList texts;
    for (const ShownMessage &m : messages_)
        texts.append(m.text);
    return texts;
}

OpenRecorder::OpenRecorder()
{
    DocumentOpener::SetOpener([this](const QUrl &url) {
        urls_.append(url);
        return opens_;
    });
}

OpenRecorder::~OpenRecorder()
{
    DocumentOpener::SetOpener([](const QUrl &) { return true; });
}

QByteArray ThreeSegments()
{
    return Interchange({ "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010", "IEA*1*000000007" });
}
