#pragma once
// Web feeds as album entries: RSS 2.0, Atom 1.0 and Media RSS, read as a stream of XML
// events (the platform's parser hands them over, namespaces resolved) into the pictures
// they carry, newest first. Also what choosing them needs: an img address from an item's
// HTML, addresses resolved against the feed's, and the feeds' two kinds of date.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace glimro {

// A picture of a feed: its address (http or https, absolute) and what its item says of it.
struct FeedPicture {
    std::wstring address;
    std::wstring title;
    std::wstring credit; // media:credit, dc:creator, or the author
    std::wstring page;   // the item's link
    std::optional<long long> published; // seconds since 1970 UTC
};

struct Feed {
    std::wstring title;
    std::vector<FeedPicture> pictures; // newest first
    size_t items = 0;                  // read, with or without a picture
    bool cut = false;                  // more items than are read, or a text cut short
    size_t refused = 0;                // pictures an archive places on another host
    // With FeedReading::item_pages: every item read, its address empty, in the feed's order.
    std::vector<FeedPicture> pages;
};

// How a feed is read besides its own text.
struct FeedReading {
    // A daily picture archive's pictures at their largest ("_UHD") rather than 1920 x 1080.
    bool large_screen = false;
    // Every item kept in Feed::pages, whether it holds a picture or not (a feed of pages,
    // each showing the day's picture).
    bool item_pages = false;
};

struct XmlAttribute {
    std::wstring_view space; // the namespace's URI, empty for none
    std::wstring_view name;  // the local name
    std::wstring_view value;
};

// Limits on what one feed may make Glimro hold.
inline constexpr size_t kMaxFeedItems = 2000;
inline constexpr size_t kMaxFeedText = 256 * 1024; // of one item's HTML, in characters
inline constexpr size_t kMaxFeedLabel = 1024;      // of a title, a credit, a link

// A feed's text as a window shows it: every hidden control (core/hidden_controls.h) as a blank.
std::wstring BlankControls(std::wstring text);

class FeedReader {
public:
    // address: where the feed was fetched from, the base of its relative addresses.
    explicit FeedReader(std::wstring address, FeedReading reading = {});

    void StartElement(std::wstring_view space, std::wstring_view name,
                      const std::vector<XmlAttribute>& attributes);
    // Character data, CDATA included, as the parser decoded it.
    void Text(std::wstring_view text);
    void EndElement();

    // Whether the document's root is a feed's (rss, RDF or Atom's feed), once it has begun.
    bool IsFeed() const { return kind_ != Kind::None; }
    Feed Finish();

private:
    // An archive: a daily picture archive's <images><image>, its pictures by their base address.
    enum class Kind { None, Rss, Atom, Archive };
    enum class Field { None, FeedTitle, Title, Link, Credit, Date, Html, AuthorName, ArchiveUrl,
                       ArchiveBase, Copyright };
    struct Element {
        size_t base = 0;        // in bases_
        bool own_base = false;  // its xml:base pushed one
        Field field = Field::None;
        bool group = false;
        bool author = false; // an Atom entry's author
    };
    struct Candidate {
        std::wstring address; // resolved
        long long width = -1;
        int group = -1; // media:group number, or -1
        int rank = 0;   // 0 media:content, 1 an enclosure, 2 an img in HTML
    };
    struct Item {
        std::wstring title, page, credit, author, date_text;
        std::wstring archive_url, archive_base, copyright;
        std::vector<std::wstring> html;
        std::vector<Candidate> candidates;
        std::vector<std::wstring> html_bases;
    };

    const std::wstring& Base() const;
    void AddCandidate(std::wstring_view address, const std::wstring& base, long long width,
                      int rank);
    void EndItem();
    std::wstring ArchivePicture();
    void SplitCopyright(FeedPicture* picture);

    std::wstring address_;
    FeedReading reading_;
    std::vector<std::wstring> bases_; // the feed's address, then each xml:base in force
    Kind kind_ = Kind::None;
    std::vector<Element> stack_;
    int item_depth_ = -1; // of the item element, or -1 outside one
    int groups_ = 0;
    int group_ = -1;
    Item item_;
    std::wstring text_;
    Field text_field_ = Field::None;
    Feed feed_;
    bool title_taken_ = false;
};

// The address of the first <img> with a src in an HTML text, entities decoded; empty for
// none.
std::wstring FirstImageSource(std::wstring_view html);

// An <img> of an HTML text: its src, the href of the link it lies inside (empty for none),
// and the width a wiki gives of the file the image is a thumbnail of (-1 unknown); as written,
// entities decoded.
struct HtmlPicture {
    std::wstring source;
    std::wstring link;
    long long file_width = -1;
};

// The picture a page shows at full size: the first link to a picture that holds an image
// (<a href="big.jpg"><img src="small.jpg"></a>), resolved against the page; empty for none
// (a page that shows a video).
std::wstring PictureLinkedAroundImage(std::wstring_view html, const std::wstring& page);

// A wiki thumbnail's original: ".../thumb/a/ab/Name.jpg/300px-Name.jpg" is ".../a/ab/Name.jpg",
// or its 3840-pixel thumbnail when the file is wider than that (file_width; -1 unknown) or is
// a drawing shown as another format ("300px-Name.svg.png"); empty for any other address.
inline constexpr long long kMaxWikiWidth = 3840;
std::wstring FullPictureOfThumbnail(const std::wstring& address, long long file_width);

// ref resolved against base (an absolute http or https address); empty unless the result is
// an http or https address. Backslashes, control characters and blanks inside are refused.
std::wstring ResolveAddress(std::wstring_view base, std::wstring_view ref);

// RFC 822 dates of RSS ("Wed, 09 Dec 2026 07:30:00 +0100") and RFC 3339 ones of Atom
// ("2026-12-09T07:30:00Z"), to seconds since 1970 UTC.
std::optional<long long> ParseFeedDate(std::wstring_view text);

} // namespace glimro
