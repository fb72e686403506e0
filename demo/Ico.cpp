#include "demo/Ico.h"

namespace kv
{

namespace
{

// digit(i): the value of the i-th of the seven body digits.
template <typename Digit> int checkDigit(Digit digit)
{
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += digit(i) * (8 - i);
    const int r = sum % 11;
    return r == 0 ? 1 : r == 1 ? 0 : 11 - r;
}

} // namespace

QString Ico::fromBody(int body)
{
    // Written digit by digit: a large demo home makes millions of numbers.
    char digits[8];
    for (int i = 6, rest = body; i >= 0; --i, rest /= 10)
        digits[i] = char('0' + rest % 10);
    digits[7] = char('0' + checkDigit([&](int i) { return digits[i] - '0'; }));
    return QString::fromLatin1(digits, 8);
}

bool Ico::isValid(const QString& ico)
{
    if (ico.size() != 8)
        return false;
    for (const QChar c : ico)
        if (c < u'0' || c > u'9')
            return false;
    return ico.at(7).digitValue() == checkDigit([&](int i) { return ico.at(i).digitValue(); });
}

} // namespace kv
