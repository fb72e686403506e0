#pragma once

#include "core/Error.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
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

// The message of the engine error f throws; a failure of the test when it
// throws another kind or nothing.
inline QString engineErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const kv::Error& e) {
        EXPECT_EQ(e.kind(), kv::Error::Kind::Engine) << e.message().toStdString();
        return e.message();
    }
    ADD_FAILURE() << "no error";
    return {};
}

} // namespace kvtest

// Like EXPECT_THROW for one kind of kv::Error, e.g. EXPECT_KV_ERROR(load(), File).
#define EXPECT_KV_ERROR(statement, kind)                                                           \
    EXPECT_EQ(kvtest::thrownKind([&] { statement; }), kv::Error::Kind::kind)
