#include "store/album_list.h"

#include "store/product_key.h"
#include "support/registry_sandbox.h"

#include <gtest/gtest.h>

namespace glimro {
namespace {

std::unique_ptr<CAccount> Named(const wchar_t* name, bool enabled = false) {
    auto album = std::make_unique<CAccount>();
    album->Name = name;
    album->Enabled = enabled;
    album->FileList = {L"C:\\a.jpg"};
    return album;
}

TEST(AlbumList, MissingKeyLoadsNothing) {
    test::RegistrySandbox sandbox;
    AlbumCollection albums;
    EXPECT_EQ(LoadAlbumList(albums), 0u);
    EXPECT_TRUE(albums.empty());
}

TEST(AlbumList, SavedRowsLoadBackAtTheHeadInReverseEnumerationOrder) {
    test::RegistrySandbox sandbox;
    auto a = Named(L"Alps"), b = Named(L"Beaches", true), c = Named(L"Cities");
    EXPECT_EQ(SaveAlbumList({a.get(), nullptr, b.get(), c.get()}), 3);

    AlbumCollection albums;
    albums.push_back(Named(L"Already there"));
    EXPECT_EQ(LoadAlbumList(albums), 4u);
    std::vector<std::wstring> names;
    for (const auto& album : albums)
        names.push_back(album->Name);
    // The registry enumerates Alps, Beaches, Cities; each loaded album goes to the head.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Cities", L"Beaches", L"Alps", L"Already there"}));
    EXPECT_TRUE((*std::next(albums.begin()))->Enabled);
}

TEST(AlbumList, SavingReplacesTheWholeSet) {
    test::RegistrySandbox sandbox;
    auto a = Named(L"Alps"), b = Named(L"Beaches");
    SaveAlbumList({a.get(), b.get()});
    b->Name = L"Coast";
    EXPECT_EQ(SaveAlbumList({b.get()}), 1);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Alps"));
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Beaches"));
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, std::wstring(kAlbumListKey) + L"\\Coast"));
}

TEST(AlbumList, NoRowsDeletesTheKeyAndThePlaceholderAloneLeavesItEmpty) {
    test::RegistrySandbox sandbox;
    auto a = Named(L"Alps");
    SaveAlbumList({a.get()});
    EXPECT_EQ(SaveAlbumList({}), 0);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumListKey));
    EXPECT_EQ(SaveAlbumList({nullptr}), 0);
    EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kAlbumListKey));
}

TEST(AlbumList, ActiveAlbumIsTheFirstActiveRowInDisplayOrder) {
    auto a = Named(L"Alps"), b = Named(L"Beaches", true), c = Named(L"Cities", true);
    EXPECT_EQ(FindActiveAlbum({nullptr, a.get(), b.get(), c.get()}), b.get());
    EXPECT_EQ(FindActiveAlbum({c.get(), b.get()}), c.get());
    EXPECT_EQ(FindActiveAlbum({a.get(), nullptr}), nullptr);
    EXPECT_EQ(FindActiveAlbum({}), nullptr);
}

TEST(RewriteAlbumList, WritesEveryAlbumOrNothingForAnEmptyList) {
    test::RegistrySandbox sandbox;
    AlbumCollection albums;
    for (const wchar_t* name : {L"Beaches", L"Alps"}) {
        albums.push_back(std::make_unique<CAccount>());
        albums.back()->Name = name;
    }
    EXPECT_EQ(RewriteAlbumList(albums), 2);
    AlbumCollection loaded;
    EXPECT_EQ(LoadAlbumList(loaded), 2u);

    EXPECT_EQ(RewriteAlbumList({}), 0);
    EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kAlbumListKey));
    FreeAlbumList(albums);
    EXPECT_TRUE(albums.empty());
}

} // namespace
} // namespace glimro
