#pragma once

#include <QByteArray>
#include <QString>

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

// A failure of the operating system's file input or output, carrying its error number.
class EInOutError : public Exception
{
public:
    explicit EInOutError(int errorCode)
        : Exception(QStringLiteral("I/O error %1").arg(errorCode))
        , errorCode_(errorCode)
    { }

    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};
