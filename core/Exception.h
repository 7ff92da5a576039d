#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>
#include <exception>

// An error carrying the message text the user will see.
class Exception : public std::exception
{
public:
    explicit Exception(QString message)
        : message_(std::move(message))
        , utf8_(message_.toUtf8())
    { }

    const QString &Message() const noexcept { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The reader's refusal of a file that is not an X12 interchange: "Empty file.", "Invalid X12
// file", "Stream read error", "Not a valid X12 file.".
class ENotX12 : public Exception
{
public:
    using Exception::Exception;
};

// A failure of the operating system's file input or output, carrying its error number. With
// what was being done, the message says it, then the system's reason and the number:
// "Cannot create the index file in /tmp/x: No such file or directory (I/O error 2)".
class EInOutError : public Exception
{
public:
    explicit EInOutError(int errorCode)
        : Exception(QStringLiteral("I/O error %1").arg(errorCode))
        , errorCode_(errorCode)
    { }
    EInOutError(int errorCode, const QString &what)
        : Exception(QStringLiteral("%1: %2 (I/O error %3)")
                        .arg(what, QString::fromLocal8Bit(std::strerror(errorCode)))
                        .arg(errorCode))
        , errorCode_(errorCode)
    { }

    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

// The file being read is no longer what it was when it was opened: shorter, longer, or gone
// from under a read.
class EFileChanged : public Exception
{
public:
    explicit EFileChanged(const QString &shownPath)
        : Exception(QStringLiteral("The file \"%1\" has changed on disk while it was being read")
                        .arg(shownPath))
    { }
};
