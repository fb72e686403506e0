#pragma once

#include "core/Error.h"

#include <functional>
#include <optional>

namespace kvtest
{

// The kind of kv::Error that f throws; none when it returns normally. Other
// exceptions pass, so that the test reports them.
inline std::optional<kv::Error::Kind> thrownKind(const std::function<void()>& f)
{
    try {
        f();
    } catch (const kv::Error& e) {
        return e.kind();
    }
    return std::nullopt;
}

} // namespace kvtest

// Like EXPECT_THROW for one kind of kv::Error, e.g. EXPECT_KV_ERROR(load(), File).
#define EXPECT_KV_ERROR(statement, kind)                                                           \
    EXPECT_EQ(kvtest::thrownKind([&] { statement; }), kv::Error::Kind::kind)
