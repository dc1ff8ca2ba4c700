#include "store/album_set.h"

#include "platform/reg_key.h"
#include "store/product_key.h"
#include "support/entries.h"
#include "support/registry_sandbox.h"
#include "support/stored_albums.h"
#include "support/temp_folder.h"

#include <aclapi.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace glimro {
namespace {

const std::wstring kAlbumKeys = std::wstring(kAlbumListKey) + L"\\";

CAlbum Album(const wchar_t* name, std::vector<std::wstring> entries = {L"C:\\a.jpg"},
               bool enabled = false) {
    CAlbum album;
    album.Name = name;
    album.Enabled = enabled;
    album.FileList.assign(entries.begin(), entries.end());
    return album;
}

// Everything stored of an album, to compare an album loaded back with its old and new forms.
using Form = std::tuple<std::wstring, std::wstring, int, int, bool, int, std::vector<ImageEntry>,
                        std::wstring>;
Form FormOf(const CAlbum& a) {
    const SYSTEMTIME& t = a.LastTime;
    std::wstring time;
    for (WORD field : {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute})
        time += std::to_wstring(field) + L".";
    return {a.Description, a.LastFile, a.LastIndex, a.Frequency,
            a.Enabled,     a.Mode,     a.FileList,  time};
}
std::map<std::wstring, Form> FormsOf(const std::vector<CAlbum>& albums) {
    std::map<std::wstring, Form> forms;
    for (const CAlbum& album : albums)
        forms[album.Name] = FormOf(album);
    return forms;
}
std::map<std::wstring, Form> LoadForms() {
    AlbumSet set;
    set.LoadAlbumList();
    std::map<std::wstring, Form> forms;
    for (const auto& album : set.Albums())
        forms[album->Name] = FormOf(*album);
    return forms;
}
std::vector<std::wstring> SubkeysOf(const std::wstring& key) {
    RegKey list;
    list.Open(HKEY_CURRENT_USER, key.c_str(), KEY_READ);
    std::vector<std::wstring> names;
    std::wstring name;
    for (DWORD i = 0; list.EnumSubkey(i, &name) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    return names;
}

class AlbumSetTest : public ::testing::Test {
protected:
    test::RegistrySandbox sandbox;
    test::TempFolder folder;
    test::ScopedExecutableFolder exe{folder.Path()};

    std::string Log() { return test::ReadFileBytes(folder.File(L"glimrolog.txt")); }
};

TEST_F(AlbumSetTest, MissingKeyLoadsNothing) {
    AlbumSet set;
    EXPECT_EQ(set.LoadAlbumList(), 0u);
    EXPECT_TRUE(set.Empty());
    EXPECT_EQ(set.FindActiveAlbum(), nullptr);
}

TEST_F(AlbumSetTest, LoadedAlbumsGoToTheHeadInReverseEnumerationOrder) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches", {}, true), Album(L"Cities")}),
              3);
    AlbumSet set;
    set.Add(std::make_unique<CAlbum>(Album(L"Already there")));
    EXPECT_EQ(set.LoadAlbumList(), 4u);
    std::vector<std::wstring> names;
    for (const auto& album : set.Albums())
        names.push_back(album->Name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Cities", L"Beaches", L"Alps", L"Already there"}));
    EXPECT_EQ(set.FindActiveAlbum()->Name, L"Beaches");
}

TEST_F(AlbumSetTest, SavingStoresTheSetAsItIsNow) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches")}), 2);
    AlbumSet set;
    set.LoadAlbumList();
    CAlbum* beaches = set.DisplayOrder()[1];
    beaches->Name = L"Coast";
    set.Remove(set.DisplayOrder()[0]);
    EXPECT_EQ(set.SaveAlbumList(), 1);
    EXPECT_EQ(SubkeysOf(kAlbumListKey), std::vector<std::wstring>{L"Coast"});

    set.Remove(beaches);
    EXPECT_EQ(set.SaveAlbumList(), 0);
    EXPECT_TRUE(SubkeysOf(kAlbumListKey).empty());
    EXPECT_TRUE(LoadForms().empty());
}

TEST_F(AlbumSetTest, ActiveAlbumIsTheFirstActiveInDisplayOrder) {
    AlbumSet set;
    CAlbum* cities = set.Add(std::make_unique<CAlbum>(Album(L"Cities", {}, true)));
    CAlbum* beaches = set.Add(std::make_unique<CAlbum>(Album(L"Beaches", {}, true)));
    CAlbum* alps = set.Add(std::make_unique<CAlbum>(Album(L"Alps")));
    alps->Frequency = 6; // no label: "Alps" sorts before "Alps (...)" would
    EXPECT_EQ(set.DisplayOrder(), (std::vector<CAlbum*>{alps, beaches, cities}));
    EXPECT_EQ(set.FindActiveAlbum(), beaches);
    set.Activate(cities);
    EXPECT_FALSE(beaches->Enabled);
    EXPECT_EQ(set.FindActiveAlbum(), cities);
    set.Activate(nullptr);
    EXPECT_EQ(set.FindActiveAlbum(), nullptr);
}

TEST_F(AlbumSetTest, AnAlbumWhoseNameCannotBeAKeyIsReportedAndTheRestIsSaved) {
    AlbumSet set;
    set.Add(std::make_unique<CAlbum>(Album(L"Alps")));
    set.Add(std::make_unique<CAlbum>(Album(L"Back\\slash")));
    set.Add(std::make_unique<CAlbum>(Album(L"")));
    EXPECT_EQ(set.SaveAlbumList(), 1);
    EXPECT_EQ(SubkeysOf(kAlbumListKey), std::vector<std::wstring>{L"Alps"});
    EXPECT_NE(Log().find("Could not save the album Back\\slash!"), std::string::npos);
}

// The k-th registry write of a save fails (alone, or with everything after it, as when the
// process dies there). Loading afterwards must give every album in its old or its new form,
// with what other tools keep in it, and lose none that both forms have; a removed album's
// name taken by a new one in the same save is the new one's. Loaded while the interrupted
// change cannot be finished, a renamed album never shows under both names. Names of every
// length the registry takes, and names that end like the staging keys of older versions,
// are albums like any other.
TEST_F(AlbumSetTest, EveryCutOffSaveLeavesEachAlbumOldOrNew) {
    CAlbum alps = Album(L"Alps", {L"C:\\1.jpg", L"C:\\2.jpg", L"C:\\3.jpg"}, true);
    alps.LastTime = {2026, 3, 0, 5, 10, 20, 0, 0};
    const std::wstring longest = L"L" + std::wstring(254, L'n');
    const std::vector<CAlbum> old_set = {
        alps,           Album(L"Beaches", {L"C:\\b.gif", L"C:\\c.gif"}), Album(L"Cities"),
        Album(longest.c_str()), Album(L"Trip\xE000new"),                         Album(L"Trip\xE000old")};
    CAlbum new_alps = alps;
    new_alps.Description = L"Changed";
    new_alps.FileList = {L"C:\\9.jpg"};
    new_alps.LastIndex = 4;
    std::vector<CAlbum> new_set = {new_alps, Album(L"Coast") /* Cities renamed */,
                                     Album(L"Dunes", {L"http://127.0.0.1/d.jpg"}),
                                     Album(L"Beaches", {L"C:\\new.png"}) /* another */};
    for (const std::wstring& name : {longest, std::wstring(L"Trip\xE000new"),
                                     std::wstring(L"Trip\xE000old")}) {
        new_set.push_back(Album(name.c_str()));
        new_set.back().Description = L"Changed";
    }
    const auto old_forms = FormsOf(old_set);
    const auto new_forms = FormsOf(new_set);
    const auto store_old_set = [&] {
        ASSERT_EQ(test::StoreAlbums(old_set), 6);
        RegKey alps_key, extra;
        alps_key.Open(HKEY_CURRENT_USER, (kAlbumKeys + L"Alps").c_str(), KEY_WRITE);
        alps_key.SetText(L"Colour Note", L"blue");
        extra.Create(HKEY_CURRENT_USER, (kAlbumKeys + L"Cities\\Extra").c_str(), KEY_WRITE);
        extra.SetDword(L"Kept", 7);
    };

    const auto save_new_set = [&] {
        AlbumSet set;
        set.LoadAlbumList();
        for (CAlbum* album : set.DisplayOrder()) {
            if (album->Name == L"Beaches")
                set.Remove(album);
            else if (album->Name == L"Alps")
                *album = new_alps;
            else if (album->Name == L"Cities")
                album->Name = L"Coast";
            else
                album->Description = L"Changed";
        }
        set.Add(std::make_unique<CAlbum>(new_set[2]));
        set.Add(std::make_unique<CAlbum>(new_set[3]));
        return set.SaveAlbumList();
    };

    int writes = 0;
    {
        test::RegistrySandbox fresh;
        store_old_set();
        Seam<LSTATUS()>::Override count(RegistryWriteGate, [&] {
            ++writes;
            return static_cast<LSTATUS>(ERROR_SUCCESS);
        });
        ASSERT_EQ(save_new_set(), 7);
    }
    ASSERT_GT(writes, 20);

    for (bool crash : {false, true}) {
        for (int k = 1; k <= writes; ++k) {
            SCOPED_TRACE((crash ? "crash at write " : "failure of write ") + std::to_string(k));
            test::RegistrySandbox fresh;
            store_old_set();
            int result = 0;
            {
                int seen = 0;
                Seam<LSTATUS()>::Override fail(RegistryWriteGate, [&] {
                    ++seen;
                    return static_cast<LSTATUS>(seen == k || (crash && seen > k) ? ERROR_WRITE_FAULT
                                                                                 : ERROR_SUCCESS);
                });
                result = save_new_set();
            }
            if (crash) {
                Seam<LSTATUS()>::Override unfinished(RegistryWriteGate, [] {
                    return static_cast<LSTATUS>(ERROR_WRITE_FAULT);
                });
                const auto seen = LoadForms();
                EXPECT_FALSE(seen.count(L"Cities") && seen.count(L"Coast"));
            }
            const auto loaded = LoadForms();
            for (const auto& [name, form] : loaded) {
                const bool was_old = old_forms.count(name) && old_forms.at(name) == form;
                const bool is_new = new_forms.count(name) && new_forms.at(name) == form;
                EXPECT_TRUE(was_old || is_new) << test::Narrow(name);
            }
            for (const std::wstring& kept : {std::wstring(L"Alps"), longest,
                                             std::wstring(L"Trip\xE000new"),
                                             std::wstring(L"Trip\xE000old")})
                EXPECT_TRUE(loaded.count(kept)) << test::Narrow(kept);
            EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Alps", L"Colour Note")
                          .Text(),
                      L"blue");
            // Cities became Coast: one of the two forms is there, with its subkey.
            const wchar_t* city = loaded.count(L"Coast") ? L"Coast" : L"Cities";
            EXPECT_TRUE(loaded.count(city));
            EXPECT_EQ(
                test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + city + L"\\Extra", L"Kept")
                    .Dword(),
                7u);
            // Albums the save counted are stored in their new form.
            if (result == 7) {
                for (const auto& [name, form] : new_forms)
                    EXPECT_TRUE(loaded.count(name) && loaded.at(name) == form)
                        << test::Narrow(name);
            }
            // A save cut off here is finished or undone by the next load: no staging keys.
            for (const std::wstring& name : SubkeysOf(kAlbumListKey))
                EXPECT_TRUE(loaded.count(name)) << test::Narrow(name);
        }
    }
}

// An album untouched by the user keeps everything it holds through a pass over another
// album and through an edit of another album; only the albums that changed are written.
TEST_F(AlbumSetTest, OnlyChangedAlbumsAreWrittenAndForeignDataStays) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches")}), 2);
    const std::wstring beaches = kAlbumKeys + L"Beaches";
    const std::wstring long_address = L"https://127.0.0.1/a.jpg?" + std::wstring(2100, L'q');
    {
        RegKey key, files, sub;
        key.Open(HKEY_CURRENT_USER, beaches.c_str(), KEY_WRITE);
        key.SetText(L"Colour Note", L"teal");
        sub.Create(key.Get(), L"Notes", KEY_WRITE);
        sub.SetDword(L"Stars", 5);
        files.Open(key.Get(), L"FileList", KEY_WRITE);
        files.SetText(L"ImageFile1", long_address);
        files.SetText(L"ImageFile2", L"%USERPROFILE%\\a.jpg", REG_EXPAND_SZ);
    }
    AlbumSet set;
    set.LoadAlbumList();
    CAlbum* alps = set.DisplayOrder()[0];
    EXPECT_EQ(set.SaveAlbumList(), 0) << "nothing changed";

    alps->LastIndex = 3; // as a pass does
    int writes = 0;
    {
        Seam<LSTATUS()>::Override count(RegistryWriteGate, [&] {
            ++writes;
            return static_cast<LSTATUS>(ERROR_SUCCESS);
        });
        EXPECT_EQ(set.SaveAlbumList(), 1);
    }
    EXPECT_LT(writes, 25) << "one album's worth of writes";
    alps->Description = L"Edited";
    EXPECT_EQ(set.SaveAlbumList(), 1);

    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, beaches, L"Colour Note").Text(), L"teal");
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, beaches + L"\\Notes", L"Stars").Dword(), 5u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, beaches + L"\\FileList", L"ImageFile1").Text(),
              long_address);
    const auto expandable =
        test::ReadStoredValue(HKEY_CURRENT_USER, beaches + L"\\FileList", L"ImageFile2");
    EXPECT_EQ(expandable.type, static_cast<DWORD>(REG_EXPAND_SZ));

    // Edited itself (an entry taken out before them), the album keeps them too, renumbered
    // with their types.
    CAlbum* beach = set.DisplayOrder()[1];
    beach->FileList.erase(beach->FileList.begin());
    beach->Name = L"Coast";
    EXPECT_EQ(set.SaveAlbumList(), 1);
    const std::wstring coast = kAlbumKeys + L"Coast";
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, beaches));
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, coast, L"Colour Note").Text(), L"teal");
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, coast + L"\\Notes", L"Stars").Dword(), 5u);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, coast + L"\\FileList", L"ImageFile0").Text(),
              long_address);
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, coast + L"\\FileList", L"ImageFile1").type,
              static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_FALSE(
        test::ReadStoredValue(HKEY_CURRENT_USER, coast + L"\\FileList", L"ImageFile2").exists);
}

// One album that cannot be written is reported and retried; every other change, removals
// included, is saved.
TEST_F(AlbumSetTest, AnAlbumThatCannotBeWrittenBlocksNoOtherChange) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches"), Album(L"Cities")}), 3);
    AlbumSet set;
    set.LoadAlbumList();
    CAlbum* nameless = set.Add(std::make_unique<CAlbum>(Album(L"")));
    set.Remove(set.DisplayOrder()[1]); // Alps ("" sorts first)
    set.DisplayOrder()[1]->Name = L"Bays"; // Beaches renamed
    EXPECT_EQ(set.SaveAlbumList(), 1);
    ASSERT_EQ(set.SaveProblems().size(), 1u);
    EXPECT_EQ(set.SaveProblems()[0].album, L"");
    EXPECT_EQ(SubkeysOf(kAlbumListKey), (std::vector<std::wstring>{L"Bays", L"Cities"}));
    EXPECT_NE(Log().find("Could not save the album !"), std::string::npos);

    // Retried at the next save, a pass's included.
    nameless->Name = L"Named";
    EXPECT_EQ(set.SaveAfterPass(nullptr), 1);
    EXPECT_TRUE(set.SaveProblems().empty());
    EXPECT_EQ(SubkeysOf(kAlbumListKey), (std::vector<std::wstring>{L"Bays", L"Cities", L"Named"}));
}

TEST_F(AlbumSetTest, OneAlbumStaysActiveWhateverTheChange) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps", {}, true), Album(L"Beaches")}), 2);
    {
        RegKey beaches;
        beaches.Open(HKEY_CURRENT_USER, (kAlbumKeys + L"Beaches").c_str(), KEY_WRITE);
        beaches.SetDword(L"Enabled", 1); // as a .reg file may leave it
    }
    AlbumSet set;
    set.LoadAlbumList();
    const auto active = [&] {
        std::vector<std::wstring> names;
        for (CAlbum* album : set.DisplayOrder()) {
            if (album->Enabled)
                names.push_back(album->Name);
        }
        return names;
    };
    EXPECT_EQ(active(), std::vector<std::wstring>{L"Alps"});
    set.Add(std::make_unique<CAlbum>(Album(L"New", {}, true)));
    EXPECT_EQ(active(), std::vector<std::wstring>{L"New"});
    set.Activate(set.DisplayOrder()[1]);
    EXPECT_EQ(active(), std::vector<std::wstring>{L"Beaches"});
}

TEST_F(AlbumSetTest, AFailedSaveSaysSoAndIsNotCounted) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches")}), 2);
    AlbumSet set;
    set.LoadAlbumList();
    set.DisplayOrder()[0]->Description = L"New";
    set.Remove(set.DisplayOrder()[1]);
    {
        int seen = 0; // the list key itself still opens
        Seam<LSTATUS()>::Override fail(RegistryWriteGate, [&] {
            return static_cast<LSTATUS>(++seen == 1 ? ERROR_SUCCESS : ERROR_ACCESS_DENIED);
        });
        EXPECT_EQ(set.SaveAlbumList(), 0);
    }
    EXPECT_NE(Log().find("Could not save the album Alps!"), std::string::npos);
    EXPECT_NE(Log().find("ERROR: (5)"), std::string::npos);
    // Beaches is removed only once everything else is written.
    EXPECT_EQ(SubkeysOf(kAlbumListKey), (std::vector<std::wstring>{L"Alps", L"Beaches"}));
    EXPECT_EQ(set.SaveAlbumList(), 1);
    EXPECT_EQ(SubkeysOf(kAlbumListKey), std::vector<std::wstring>{L"Alps"});
}

// An album key the user may not read (here: its access list grants nothing).
class UnreadableKey {
public:
    explicit UnreadableKey(const std::wstring& path) : path_(path) {
        RegKey key;
        key.Open(HKEY_CURRENT_USER, path.c_str(), WRITE_DAC);
        ACL empty = {};
        ::InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
        ok_ = ::SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                nullptr, &empty, nullptr) == ERROR_SUCCESS;
    }
    ~UnreadableKey() { Restore(); }
    bool Ok() const { return ok_; }
    // Gives access back, as the owner may.
    void Restore() {
        RegKey key;
        if (key.Open(HKEY_CURRENT_USER, path_.c_str(), WRITE_DAC) == ERROR_SUCCESS)
            ::SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr);
    }

private:
    std::wstring path_;
    bool ok_ = false;
};

TEST_F(AlbumSetTest, AnAlbumThatCannotBeReadIsReportedKeptAndNeverRemoved) {
    ASSERT_EQ(
        test::StoreAlbums({Album(L"Alps"), Album(L"Beaches", {L"C:\\keep.jpg"}), Album(L"Cities")}),
        3);
    UnreadableKey locked(kAlbumKeys + L"Beaches");
    ASSERT_TRUE(locked.Ok());
    RegKey probe;
    ASSERT_NE(probe.Open(HKEY_CURRENT_USER, (kAlbumKeys + L"Beaches").c_str(), KEY_READ),
              ERROR_SUCCESS);

    AlbumSet set;
    EXPECT_EQ(set.LoadAlbumList(), 2u); // later albums still load
    EXPECT_EQ(set.UnreadAlbums(), std::vector<std::wstring>{L"Beaches"});
    EXPECT_NE(Log().find("Could not read the album Beaches"), std::string::npos);

    set.Remove(set.DisplayOrder()[1]); // Cities
    set.DisplayOrder()[0]->Description = L"Edited";
    EXPECT_EQ(set.SaveAlbumList(), 1);
    locked.Restore();
    const auto loaded = LoadForms();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(std::get<0>(loaded.at(L"Alps")), L"Edited");
    EXPECT_EQ(std::get<6>(loaded.at(L"Beaches")), std::vector<std::wstring>{L"C:\\keep.jpg"});
}

// An album whose list of pictures cannot be read is not loaded empty and saved empty: it is
// reported and kept as it is, and loads whole once it can be read.
TEST_F(AlbumSetTest, AnAlbumWhosePicturesCannotBeReadIsKeptAsItIs) {
    ASSERT_EQ(test::StoreAlbums({Album(L"Alps"), Album(L"Beaches", {L"C:\\keep.jpg"})}), 2);
    {
        UnreadableKey locked(kAlbumKeys + L"Beaches\\FileList");
        ASSERT_TRUE(locked.Ok());
        AlbumSet set;
        EXPECT_EQ(set.LoadAlbumList(), 1u);
        EXPECT_EQ(set.UnreadAlbums(), std::vector<std::wstring>{L"Beaches"});
        EXPECT_NE(Log().find("Could not read the album Beaches"), std::string::npos);
        set.DisplayOrder()[0]->Description = L"Edited";
        EXPECT_EQ(set.SaveAlbumList(), 1);
    }
    const auto loaded = LoadForms();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(std::get<6>(loaded.at(L"Beaches")), std::vector<ImageEntry>{L"C:\\keep.jpg"});
}

struct HostileValue {
    const wchar_t* subkey; // under the album key; empty for the key itself
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> Bytes(const std::wstring& text, bool with_nul = false) {
    const BYTE* raw = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(raw, raw + (text.size() + (with_nul ? 1 : 0)) * sizeof(wchar_t));
}
std::vector<BYTE> Bytes(DWORD number) {
    const BYTE* raw = reinterpret_cast<const BYTE*>(&number);
    return std::vector<BYTE>(raw, raw + sizeof(number));
}

void Put(const HostileValue& value) {
    RegKey key;
    const std::wstring path =
        kAlbumKeys + L"Hostile" + (*value.subkey ? std::wstring(L"\\") + value.subkey : L"");
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_WRITE), ERROR_SUCCESS);
    ASSERT_EQ(key.SetRaw(value.name, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size())),
              ERROR_SUCCESS);
}

TEST_F(AlbumSetTest, HostileValuesLoadWithoutHarm) {
    const std::wstring huge(40000, L'x');
    SYSTEMTIME bad_month = {2026, 13, 0, 1, 0, 0, 0, 0};
    const BYTE* bad = reinterpret_cast<const BYTE*>(&bad_month);
    const std::vector<HostileValue> values = {
        {L"", L"Description", REG_DWORD, Bytes(7)},
        {L"", L"LastFile", REG_BINARY, {1, 2, 3, 4}},
        {L"", L"LastTime", REG_BINARY, std::vector<BYTE>(bad, bad + sizeof(bad_month))},
        {L"", L"Frequency", REG_DWORD, Bytes(9)},
        {L"", L"Mode", REG_BINARY, std::vector<BYTE>(8, 0xFF)},
        {L"", L"LastIndex", REG_DWORD, Bytes(0x7FFFFFFF)},
        {L"", L"Enabled", REG_SZ, Bytes(L"1", true)}, // digits typed as text count
        {L"FileList", L"ImageFile0", REG_DWORD, Bytes(7)},
        {L"FileList", L"ImageFile1", REG_EXPAND_SZ, Bytes(L"%TEMP%\\a.jpg")},
        {L"FileList", L"ImageFile2", REG_SZ, Bytes(huge)},
        {L"FileList", L"ImageFile3", REG_SZ, Bytes(L"C:\\b.jpg", true)},
    };
    for (const auto& value : values)
        Put(value);
    for (int i = 0; i < 3000; ++i)
        Put({L"FileList", (L"junk" + std::to_wstring(i)).c_str(), REG_SZ, Bytes(L"C:\\x.jpg")});

    AlbumSet set;
    ASSERT_EQ(set.LoadAlbumList(), 1u);
    const CAlbum& album = *set.Albums().front();
    EXPECT_EQ(album.Description, L"");
    EXPECT_EQ(album.LastFile, L"Unavailable");
    EXPECT_EQ(album.LastTime.wYear, 0);
    EXPECT_EQ(album.Frequency, 9);
    EXPECT_EQ(album.Mode, 0);
    EXPECT_EQ(album.LastIndex, 0x7FFFFFFF);
    EXPECT_TRUE(album.Enabled);
    // Every entry is kept, whatever it holds; the pass decides which it can use.
    EXPECT_EQ(test::Texts(album.FileList),
              (std::vector<std::wstring>{L"", L"%TEMP%\\a.jpg", huge, L"C:\\b.jpg"}));
    EXPECT_EQ(album.FileList[0].Type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(album.FileList[1].Type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(DisplayText(album), L"Hostile");

    // Saved after an edit, the album's values it does not own, and its entries, stay exact.
    set.Albums().front()->LastIndex = 1;
    ASSERT_EQ(set.SaveAlbumList(), 1);
    for (const auto& value : values) {
        const std::wstring key =
            kAlbumKeys + L"Hostile" + (*value.subkey ? std::wstring(L"\\") + value.subkey : L"");
        const auto stored = test::ReadStoredValue(HKEY_CURRENT_USER, key, value.name);
        if (std::wstring(value.name) == L"LastIndex")
            continue;
        EXPECT_EQ(stored.type, value.type) << test::Narrow(value.name);
        EXPECT_EQ(stored.data, value.data) << test::Narrow(value.name);
    }
    EXPECT_EQ(test::ReadStoredValue(HKEY_CURRENT_USER, kAlbumKeys + L"Hostile\\FileList",
                                    L"junk2999")
                  .Text(),
              L"C:\\x.jpg");

    const std::vector<HostileValue> sized = {
        {L"", L"Description", REG_SZ, Bytes(huge)},
        {L"", L"LastTime", REG_BINARY, std::vector<BYTE>(17, 1)},
        {L"", L"Frequency", REG_BINARY, {5}}, // a number only as a DWORD or as digits
    };
    for (const auto& value : sized)
        Put(value);
    AlbumSet again;
    again.LoadAlbumList();
    EXPECT_EQ(again.Albums().front()->Description, huge);
    EXPECT_EQ(again.Albums().front()->LastTime.wYear, 0);
    EXPECT_EQ(again.Albums().front()->Frequency, kEveryMinute); // missing: the default
}

TEST_F(AlbumSetTest, AHeldPassKeepsItsAlbumAndRefusesASecondPass) {
    AlbumSet set;
    CAlbum* alps = set.Add(std::make_unique<CAlbum>(Album(L"Alps")));
    CAlbum* beaches = set.Add(std::make_unique<CAlbum>(Album(L"Beaches")));
    int finished = 0;
    set.PassFinished = [&] { ++finished; };
    {
        AlbumSet::PassHold hold = set.HoldForPass(alps);
        ASSERT_TRUE(hold);
        EXPECT_TRUE(set.PassRunning());
        EXPECT_FALSE(set.HoldForPass(beaches));
        EXPECT_FALSE(set.Remove(alps));
        EXPECT_TRUE(set.Contains(alps));
        EXPECT_TRUE(set.Remove(beaches));
        EXPECT_EQ(finished, 0);
    }
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(set.PassRunning());
    EXPECT_TRUE(set.Remove(alps));
    EXPECT_TRUE(set.Empty());
}

} // namespace
} // namespace glimro
