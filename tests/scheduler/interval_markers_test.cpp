#include "scheduler/interval_markers.h"

#include "store/product_key.h"
#include "support/registry_sandbox.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

const wchar_t* const kMarkers[] = {kLastMinute, kLastHour, kLastDay, kLastWeek, kLastMonth};

// Reading never writes: a fresh profile reads 0 and still has no product key.
TEST(IntervalMarkers, FreshProfileReadsZeroAndReadingLeavesTheRegistryAlone) {
    test::RegistrySandbox sandbox;
    ASSERT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kProductKey));
    for (const wchar_t* name : kMarkers)
        EXPECT_EQ(ReadIntervalMarker(name), 0) << name;
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kProductKey));
}

TEST(IntervalMarkers, WrittenAsDwordsAndReadBack) {
    test::RegistrySandbox sandbox;
    SYSTEMTIME t = {};
    t.wYear = 2008;
    t.wMonth = 12;
    t.wDay = 29;
    t.wHour = 7;
    t.wMinute = 41;
    WriteIntervalMarkers(t);
    const struct {
        const wchar_t* name;
        WORD value;
    } expected[] = {
        {kLastMinute, 41}, {kLastHour, 7}, {kLastDay, 29}, {kLastWeek, 1}, {kLastMonth, 12}};
    for (const auto& marker : expected) {
        auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kProductKey, marker.name);
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_DWORD)) << marker.name;
        EXPECT_EQ(stored.data.size(), 4u) << marker.name;
        EXPECT_EQ(ReadIntervalMarker(marker.name), marker.value) << marker.name;
    }
}

TEST(IntervalMarkers, ReadYieldsTheLowSixteenBits) {
    test::RegistrySandbox sandbox;
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr),
              ERROR_SUCCESS);
    const DWORD value = 0x00012345;
    ::RegSetValueExW(key, kLastDay, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    ::RegCloseKey(key);
    EXPECT_EQ(ReadIntervalMarker(kLastDay), 0x2345);
}

// A volatile parent cannot hold the product key (children of volatile keys must be volatile
// too): the key cannot be created, markers read as 0 and writes are skipped quietly.
TEST(IntervalMarkers, ProductKeyThatCannotBeCreated) {
    test::RegistrySandbox sandbox;
    HKEY parent = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Fenwaldstone", 0, nullptr,
                                REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(parent);

    SYSTEMTIME t = {};
    t.wYear = 2026;
    t.wMonth = 3;
    t.wDay = 4;
    WriteIntervalMarkers(t);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kProductKey));
    for (const wchar_t* name : kMarkers)
        EXPECT_EQ(ReadIntervalMarker(name), 0) << name;
}

} // namespace
} // namespace glimro
