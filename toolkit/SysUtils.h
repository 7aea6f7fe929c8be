#pragma once
// The component library's exception classes. Widgets throw them where the library's own
// routines would raise one; the application shows their Message in a message box.
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A value outside the range an operation accepts.
class ERangeError : public Exception {
public:
    using Exception::Exception;
};

// A text or date that cannot be converted.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
