// SPDX-License-Identifier: MIT
#pragma once
// The component library's exception classes. Widgets throw them where the library's own
// routines would raise one; the application shows their Message in a message box.
#include <QString>
#include <exception>
#include <initializer_list>

class Exception : public std::exception {
public:
    explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
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

// How StringReplace searches: every occurrence or only the first, with or without regard to
// letter case. Written like {rfReplaceAll, rfIgnoreCase}.
enum TReplaceFlag { rfReplaceAll, rfIgnoreCase };
class TReplaceFlags {
public:
    constexpr TReplaceFlags() = default;
    constexpr TReplaceFlags(std::initializer_list<TReplaceFlag> flags) {
        for (TReplaceFlag f : flags)
            bits_ |= 1u << f;
    }
    constexpr bool Contains(TReplaceFlag f) const { return (bits_ >> f) & 1u; }

private:
    unsigned bits_ = 0;
};

// Replaces the first occurrence of oldPattern in text (every occurrence with rfReplaceAll) by
// newPattern and returns the result; the text is searched from left to right, and a replacement
// is never searched again. An empty oldPattern leaves the text unchanged.
QString StringReplace(const QString& text, const QString& oldPattern, const QString& newPattern,
                      TReplaceFlags flags);

// Integer conversion of a whole text: optional leading blanks, an optional sign, then decimal
// digits, or "$" / "0x" followed by hexadecimal digits. Anything else, an empty text or a
// value outside the signed 32-bit range raises EConvertError.
int StrToInt(const QString& text);
// Decimal text of a value: a minus sign when negative, no leading zeros, no group separators.
QString IntToStr(int value);
// The decimal separator of the user's locale when it is a single 8-bit character, else '.'.
char DecimalSeparator();
