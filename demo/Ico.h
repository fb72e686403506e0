#pragma once

#include <QString>

namespace kv
{

// The Czech company identification number (IČO): seven digits and a check
// digit. Weights 8..2 over the first seven digits, r = sum mod 11; the check
// digit is 1 for r = 0, 0 for r = 1, otherwise 11 - r.
class Ico
{
public:
    // Eight-digit IČO for a body of 0..9999999 (written with leading zeros).
    static QString fromBody(int body);
    static bool isValid(const QString& ico);
};

} // namespace kv
