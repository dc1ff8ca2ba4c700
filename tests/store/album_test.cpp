#include "store/album.h"

#include "store/album_set.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/registry_sandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace glimro {
namespace {

const std::wstring kBeaches = std::wstring(kAlbumListKey) + L"\\Beaches";
const std::wstring kBeachesFiles = kBeaches + L"\\FileList";

class AlbumRegistryTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    RegKey album_list;

    void SetUp() override {
        ASSERT_EQ(album_list.Create(HKEY_CURRENT_USER, kAlbumListKey, KEY_ALL_ACCESS),
                  ERROR_SUCCESS);
    }

    CAlbum Load(const std::wstring& name) {
        CAlbum account;
        account.Name = name;
        RegKey key;
        EXPECT_EQ(key.Open(album_list.Get(), name.c_str(), KEY_READ), ERROR_SUCCESS);
        EXPECT_EQ(account.LoadFromKey(key), ERROR_SUCCESS);
        return account;
    }

    // Writes a raw value the way another tool might have.
    void SetRaw(const std::wstring& subkey, const wchar_t* name, DWORD type, const void* data,
                DWORD bytes) {
        RegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, subkey.c_str(), KEY_WRITE), ERROR_SUCCESS);
        ASSERT_EQ(key.SetRaw(name, type, data, bytes), ERROR_SUCCESS);
    }
    void SetText(const std::wstring& subkey, const wchar_t* name, const std::wstring& text,
                 bool with_nul) {
        SetRaw(subkey, name, REG_SZ, text.c_str(),
               static_cast<DWORD>((text.size() + (with_nul ? 1 : 0)) * sizeof(wchar_t)));
    }
};

CAlbum Beaches() {
    CAlbum account;
    account.Name = L"Beaches";
    account.Description = L"Summer";
    account.LastFile = L"C:\\Pictures\\b.gif";
    account.LastIndex = 1;
    account.Frequency = kEveryDay;
    account.Mode = kSequential;
    account.Enabled = true;
    account.LastTime = SYSTEMTIME{2026, 7, 3, 16, 9, 30, 15, 250};
    account.FileList = {L"C:\\Pictures\\a.jpg", L"C:\\Pictures\\b.gif"};
    return account;
}

TEST_F(AlbumRegistryTest, StoredValueByValueWithTypesAndByteLengths) {
    ASSERT_TRUE(Beaches().SaveToKey(album_list.Get(), 0));

    const struct {
        std::wstring key;
        const wchar_t* name;
        DWORD type;
        size_t bytes;
    } expected[] = {
        {kBeaches, L"Description", REG_SZ, 12},     {kBeaches, L"LastFile", REG_SZ, 34},
        {kBeaches, L"LastTime", REG_BINARY, 16},    {kBeaches, L"Enabled", REG_DWORD, 4},
        {kBeaches, L"Mode", REG_DWORD, 4},          {kBeaches, L"LastIndex", REG_DWORD, 4},
        {kBeaches, L"Frequency", REG_DWORD, 4},     {kBeaches, L"Image Count", REG_DWORD, 4},
        {kBeachesFiles, L"ImageFile0", REG_SZ, 34}, {kBeachesFiles, L"ImageFile1", REG_SZ, 34},
    };
    for (const auto& value : expected) {
        auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, value.key, value.name);
        ASSERT_TRUE(stored.exists) << value.name;
        EXPECT_EQ(stored.type, value.type) << value.name;
        EXPECT_EQ(stored.data.size(), value.bytes) << value.name;
    }
    auto value = [](const std::wstring& key, const wchar_t* name) {
        return test::ReadStoredValue(HKEY_CURRENT_USER, key, name);
    };
    EXPECT_EQ(value(kBeaches, L"Description").Text(), L"Summer");
    EXPECT_EQ(value(kBeaches, L"LastFile").Text(), L"C:\\Pictures\\b.gif");
    EXPECT_EQ(value(kBeaches, L"Enabled").Dword(), 1u);
    EXPECT_EQ(value(kBeaches, L"LastIndex").Dword(), 1u);
    EXPECT_EQ(value(kBeaches, L"Frequency").Dword(), 2u);
    EXPECT_EQ(value(kBeaches, L"Image Count").Dword(), 2u);
    EXPECT_EQ(value(kBeachesFiles, L"ImageFile1").Text(), L"C:\\Pictures\\b.gif");
    // Changing at the start of every day: stored as it always was, without a rhythm.
    EXPECT_FALSE(value(kBeaches, L"Every").exists);
    EXPECT_FALSE(value(kBeaches, L"At").exists);
    const auto time = value(kBeaches, L"LastTime").data;
    const BYTE little_endian_fields[16] = {0xEA, 0x07, 7,  0, 3,  0, 16,  0,
                                           9,    0,    30, 0, 15, 0, 250, 0};
    EXPECT_EQ(std::vector<BYTE>(time.begin(), time.end()),
              std::vector<BYTE>(std::begin(little_endian_fields), std::end(little_endian_fields)));

    DWORD values = 0;
    RegKey files;
    ASSERT_EQ(files.Open(HKEY_CURRENT_USER, kBeachesFiles.c_str(), KEY_READ), ERROR_SUCCESS);
    files.QueryValueCount(&values);
    EXPECT_EQ(values, 2u) << "only the entries are written under FileList";
}

TEST_F(AlbumRegistryTest, RoundTripKeepsEveryField) {
    CAlbum saved = Beaches();
    saved.LastIndex = -1;
    saved.Every = 3;
    saved.At = 7 * 60 + 30;
    ASSERT_TRUE(saved.SaveToKey(album_list.Get(), 3));
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kBeaches, L"LastIndex").Dword(),
              0xFFFFFFFFu);

    CAlbum loaded = Load(L"Beaches");
    EXPECT_EQ(loaded.Description, saved.Description);
    EXPECT_EQ(loaded.LastFile, saved.LastFile);
    EXPECT_EQ(loaded.LastIndex, -1);
    EXPECT_EQ(loaded.Frequency, saved.Frequency);
    EXPECT_EQ(loaded.Mode, saved.Mode);
    EXPECT_TRUE(loaded.Enabled);
    EXPECT_EQ(std::memcmp(&loaded.LastTime, &saved.LastTime, sizeof(SYSTEMTIME)), 0);
    EXPECT_EQ(loaded.FileList, saved.FileList);
    EXPECT_EQ(loaded.Every, 3);
    EXPECT_EQ(loaded.At, 7 * 60 + 30);
}

TEST_F(AlbumRegistryTest, KeyWithoutValuesLoadsAsNeverRunMinuteAlbum) {
    RegKey empty;
    ASSERT_EQ(empty.Create(album_list.Get(), L"Empty", KEY_WRITE), ERROR_SUCCESS);
    CAlbum loaded = Load(L"Empty");
    EXPECT_EQ(loaded.Name, L"Empty");
    EXPECT_EQ(loaded.Description, L"");
    EXPECT_EQ(loaded.LastFile, L"Unavailable");
    EXPECT_FALSE(loaded.Enabled);
    EXPECT_EQ(loaded.Mode, 0);
    EXPECT_EQ(loaded.LastIndex, 0);
    EXPECT_EQ(loaded.Frequency, 0) << "a missing Frequency loads as 0, not the default 2";
    EXPECT_EQ(loaded.LastTime.wYear, 0);
    EXPECT_TRUE(loaded.FileList.empty());
}

TEST_F(AlbumRegistryTest, EmptyListIsStoredWithoutFileListOrImageCount) {
    CAlbum account = Beaches();
    account.FileList.clear();
    ASSERT_TRUE(account.SaveToKey(album_list.Get(), 0));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kBeachesFiles));
    EXPECT_FALSE(test::ReadStoredValue(HKEY_CURRENT_USER, kBeaches, L"Image Count").exists);
    EXPECT_TRUE(Load(L"Beaches").FileList.empty());
}

TEST_F(AlbumRegistryTest, SavingAnEmptiedListRemovesTheOldFileList) {
    ASSERT_TRUE(Beaches().SaveToKey(album_list.Get(), 0));
    CAlbum account = Beaches();
    account.FileList.clear();
    ASSERT_TRUE(account.SaveToKey(album_list.Get(), 0));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kBeachesFiles));
}

TEST_F(AlbumRegistryTest, TextsStoredByAnotherToolWithTheirNulLoadWithoutIt) {
    SetText(kBeaches, L"Description", L"Summer", true);
    SetText(kBeaches, L"LastFile", L"C:\\x.jpg", true);
    SetText(kBeachesFiles, L"ImageFile0", L"C:\\a.jpg", true);
    CAlbum loaded = Load(L"Beaches");
    EXPECT_EQ(loaded.Description, L"Summer");
    EXPECT_EQ(loaded.LastFile, L"C:\\x.jpg");
    ASSERT_EQ(loaded.FileList.size(), 1u);
    EXPECT_EQ(loaded.FileList[0].Text, L"C:\\a.jpg");
}

TEST_F(AlbumRegistryTest, EmptyStoredTextsKeepTheFieldsDefaults) {
    SetText(kBeaches, L"Description", L"", false);
    SetText(kBeaches, L"LastFile", L"", false);
    CAlbum loaded = Load(L"Beaches");
    EXPECT_EQ(loaded.LastFile, L"Unavailable");
}

TEST_F(AlbumRegistryTest, EntriesAreReadInTheOrderOfTheirPositionsGapsClosed) {
    const struct {
        const char* what;
        std::vector<const wchar_t*> names;
        std::vector<std::wstring> loaded;
    } cases[] = {
        {"a gap loses nothing", {L"ImageFile0", L"ImageFile2"}, {L"v0", L"v2"}},
        {"by position, not by the order stored", {L"ImageFile10", L"ImageFile9"}, {L"v9", L"v0"}},
        {"other names are no entries",
         {L"Image Count", L"ImageFile1", L"Other", L"ImageFile01", L"ImageFile0"},
         {L"v0", L"v1"}},
    };
    for (const auto& c : cases) {
        RegKey::DeleteTree(HKEY_CURRENT_USER, kBeaches.c_str());
        for (const wchar_t* name : c.names) {
            std::wstring text = std::wstring(L"v") + (name + std::wcslen(name) - 1);
            SetText(kBeachesFiles, name, text, false);
        }
        EXPECT_EQ(Load(L"Beaches").FileList, c.loaded) << c.what;
    }
}

TEST_F(AlbumRegistryTest, ElevenEntriesKeepTheirOrder) {
    CAlbum account = Beaches();
    account.FileList.clear();
    for (int i = 0; i < 11; ++i)
        account.FileList.push_back(L"C:\\p\\" + std::to_wstring(i) + L".jpg");
    ASSERT_TRUE(account.SaveToKey(album_list.Get(), 0));
    EXPECT_TRUE(test::ReadStoredValue(HKEY_CURRENT_USER, kBeachesFiles, L"ImageFile10").exists);
    EXPECT_EQ(Load(L"Beaches").FileList, account.FileList);
}

TEST_F(AlbumRegistryTest, EntriesOfAnyLengthLoad) {
    const std::wstring longest = L"C:\\" + std::wstring(252, L'p') + L".jpg"; // 259
    const std::wstring address = L"https://127.0.0.1/a.jpg?" + std::wstring(2000, L'q');
    SetText(kBeachesFiles, L"ImageFile0", longest + L"x", false);
    SetText(kBeachesFiles, L"ImageFile1", address, true);
    SetText(kBeachesFiles, L"ImageFile2", L"C:\\ok.jpg", false);
    EXPECT_EQ(test::Texts(Load(L"Beaches").FileList),
              (std::vector<std::wstring>{longest + L"x", address, L"C:\\ok.jpg"}));
}

// A number is read by its stored type: a DWORD as it is, digits typed as text (`reg add`
// without /t) as their number, anything else as missing, so the default. The album's and the
// product's numbers alike; a save keeps the stored bytes of a value the user did not change.
TEST_F(AlbumRegistryTest, NumbersAreReadByTheirStoredType) {
    const auto text = [](const wchar_t* digits, bool nul = true) {
        const size_t bytes = (std::wcslen(digits) + (nul ? 1 : 0)) * sizeof(wchar_t);
        const BYTE* at = reinterpret_cast<const BYTE*>(digits);
        return std::vector<BYTE>(at, at + bytes);
    };
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        int read; // -1: missing
    } cases[] = {
        {"a DWORD", REG_DWORD, {2, 0, 0, 0}, 2},
        {"digits as text, as reg add stores them", REG_SZ, text(L"2"), 2},
        {"digits as text without their NUL", REG_SZ, text(L"37", false), 37},
        {"the largest 32-bit number as text", REG_SZ, text(L"4294967295"), -2},
        {"digits past 32 bits", REG_SZ, text(L"4294967296"), -1},
        {"text", REG_SZ, text(L"two"), -1},
        {"digits then text", REG_SZ, text(L"2 days"), -1},
        {"an empty text", REG_SZ, text(L""), -1},
        {"four bytes of binary", REG_BINARY, {2, 0, 0, 0}, -1},
        {"eight bytes of binary", REG_BINARY, {2, 0, 0, 0, 0, 0, 0, 0}, -1},
        {"a 64-bit number", REG_QWORD, {2, 0, 0, 0, 0, 0, 0, 0}, -1},
        {"an empty DWORD", REG_DWORD, {}, -1},
    };
    for (const auto& c : cases) {
        SetRaw(kBeaches, L"Every", c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        SetRaw(kProductKey, kHoldOnBatteryValue, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        CAlbum loaded = Load(L"Beaches");
        // "Every" is 1 when missing and at most 2^31 - 1.
        EXPECT_EQ(loaded.Every, c.read == -1 ? 1 : c.read == -2 ? 0x7FFFFFFF : c.read) << c.what;
        EXPECT_EQ(ReadProductNumber(kHoldOnBatteryValue, 7),
                  c.read == -1 ? 7u : c.read == -2 ? 0xFFFFFFFFu : static_cast<DWORD>(c.read))
            << c.what;
        AlbumSet albums;
        albums.LoadAlbumList();
        ASSERT_EQ(albums.Albums().size(), 1u) << c.what;
        albums.Albums().front()->Description = L"changed";
        albums.SaveAlbumList();
        const auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, kBeaches, L"Every");
        EXPECT_EQ(stored.type, c.type) << c.what;
        EXPECT_EQ(stored.data, c.bytes) << c.what;
    }
}

TEST_F(AlbumRegistryTest, LastTimeLongerThanSixteenBytesReadsAsNever) {
    const BYTE oversized[20] = {0xEA, 0x07, 1};
    SetRaw(kBeaches, L"LastTime", REG_BINARY, oversized, sizeof(oversized));
    EXPECT_EQ(Load(L"Beaches").LastTime.wYear, 0);
}

TEST_F(AlbumRegistryTest, AnEmptyEntryIsKeptInItsPlace) {
    CAlbum account = Beaches();
    account.FileList = {L"C:\\a.jpg", L"", L"C:\\c.jpg"};
    ASSERT_TRUE(account.SaveToKey(album_list.Get(), 0));
    const auto empty = test::ReadStoredValue(HKEY_CURRENT_USER, kBeachesFiles, L"ImageFile1");
    EXPECT_TRUE(empty.exists && empty.type == REG_SZ && empty.data.empty());
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kBeaches, L"Image Count").Dword(), 3u);
    EXPECT_EQ(Load(L"Beaches").FileList, account.FileList);
}

TEST_F(AlbumRegistryTest, SaveFailsWhenTheAlbumKeyCannotBeCreated) {
    // Children of a volatile key must be volatile too, so this album key cannot be made.
    HKEY parent = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &parent, nullptr),
              ERROR_SUCCESS);
    EXPECT_FALSE(Beaches().SaveToKey(parent, 0));
    ::RegCloseKey(parent);
}

} // namespace
} // namespace glimro
