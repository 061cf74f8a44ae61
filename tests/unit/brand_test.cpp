// The branding command's readers and writers on images and files made here, under the
// sanitizers: a damaged input must be refused, never read past its end.
#include <gtest/gtest.h>

#include "brand_edits.h"
#include "pe_resources.h"

namespace brand {
namespace {


// A version resource with only its fixed part, as a resource compiler writes it.
Bytes versionResource() {
  Bytes v(92, 0);
  put16(v, 0, 92);
  put16(v, 2, 52);
  const char16_t key[] = u"VS_VERSION_INFO";
  for (int i = 0; i < 15; ++i) put16(v, 6 + 2 * i, key[i]);
  put32(v, 40, 0xFEEF04BD);
  return v;
}

std::vector<Resource> launcherResources() {
  return {{{kDialogType, {}}, {201, {}}, 0x409, 0, Bytes(8, 1)},
          {{kDialogType, {}}, {231, {}}, 0x409, 0, Bytes(8, 2)},
          {{kVersionType, {}}, {1, {}}, 0x409, 0, versionResource()}};
}

// An x86 GUI image of headers, .text, .rsrc (empty at first) and .reloc, 0x200-aligned in the
// file and 0x1000 in memory.
Bytes smallImage() {
  Bytes f(0x800, 0);
  f[0] = 'M';
  f[1] = 'Z';
  put32(f, 60, 0x40);
  put32(f, 0x40, 0x4550);
  put16(f, 0x44, 0x14C);
  put16(f, 0x46, 3);
  put16(f, 0x54, 224);
  const std::size_t opt = 0x58;
  put16(f, opt, 0x10B);
  put32(f, opt + 32, 0x1000);
  put32(f, opt + 36, 0x200);
  put32(f, opt + 56, 0x4000);
  put32(f, opt + 60, 0x200);
  put16(f, opt + 68, 2);
  put32(f, opt + 92, 16);
  put32(f, opt + 96 + 2 * 8, 0x2000);  // resources
  put32(f, opt + 96 + 2 * 8 + 4, 0x10);
  put32(f, opt + 96 + 5 * 8, 0x3000);  // relocations
  put32(f, opt + 96 + 5 * 8 + 4, 0x0C);
  const char* names[] = {".text", ".rsrc", ".reloc"};
  for (int i = 0; i < 3; ++i) {
    std::size_t at = opt + 224 + 40 * i;
    for (int c = 0; names[i][c]; ++c) f[at + c] = names[i][c];
    put32(f, at + 8, 0x100);
    put32(f, at + 12, 0x1000 * (i + 1));
    put32(f, at + 16, 0x200);
    put32(f, at + 20, 0x200 * (i + 1));
    put32(f, at + 36, 0x40);
  }
  put32(f, 0x600, 0x1000);  // one relocation block
  put32(f, 0x604, 0x0C);
  return f;
}

TEST(BrandImage, ResourcesWrittenAreReadBackAndTheRelocationsMoveBehindThem) {
  Bytes image = smallImage();
  PeLayout layout;
  std::string error;
  ASSERT_TRUE(readLayout(image, layout, error)) << error;
  std::vector<Resource> resources = launcherResources();
  resources.push_back({{0, u"CUSTOM"}, {0, u"NAMED"}, 0x407, 1252, Bytes(5000, 7)});
  ASSERT_TRUE(writeResources(image, layout, resources, error)) << error;

  std::vector<Resource> back;
  ASSERT_TRUE(readResources(image, layout, back, error)) << error;
  ASSERT_EQ(back.size(), 4u);
  EXPECT_EQ(back[0].type.text, u"CUSTOM");  // named types first, as the loader searches
  EXPECT_EQ(back[0].codePage, 1252u);
  EXPECT_EQ(back[0].data, Bytes(5000, 7));
  EXPECT_TRUE(isLauncher(layout, back, error)) << error;
  const std::size_t opt = 0x58, reloc = opt + 224 + 80;
  std::uint32_t rsrcSize = get32(image, opt + 224 + 40 + 8);
  EXPECT_EQ(get32(image, opt + 96 + 2 * 8 + 4), rsrcSize);
  EXPECT_EQ(get32(image, reloc + 12), 0x2000 + (rsrcSize + 0xFFF) / 0x1000 * 0x1000);
  EXPECT_EQ(get32(image, opt + 96 + 5 * 8), get32(image, reloc + 12));
  EXPECT_EQ(get32(image, opt + 56), get32(image, reloc + 12) + 0x1000);
  EXPECT_EQ(get32(image, get32(image, reloc + 20)), 0x1000u) << "relocation block moved with its section";
  EXPECT_EQ(image.size(), get32(image, reloc + 20) + 0x200);
}

TEST(BrandImage, RefusesWhatCannotBeRewrittenWhole) {
  PeLayout layout;
  std::string error;
  Bytes signedImage = smallImage();
  put32(signedImage, 0x58 + 96 + 4 * 8, 0x800);
  ASSERT_TRUE(readLayout(signedImage, layout, error));
  EXPECT_FALSE(writeResources(signedImage, layout, launcherResources(), error));
  EXPECT_NE(error.find("signed"), std::string::npos);

  Bytes appended = smallImage();
  appended.push_back(0);
  EXPECT_FALSE(writeResources(appended, layout, launcherResources(), error));
  Bytes dataAfter = smallImage();
  dataAfter[0x58 + 224 + 80] = 'X';  // a section other than the relocations after the resources
  EXPECT_FALSE(writeResources(dataAfter, layout, launcherResources(), error));
  EXPECT_NE(error.find("cannot be moved"), std::string::npos);
}

TEST(BrandImage, DamagedImagesAreRefusedAtEveryLength) {
  Bytes image = smallImage();
  PeLayout layout;
  std::string error;
  ASSERT_TRUE(readLayout(image, layout, error));
  ASSERT_TRUE(writeResources(image, layout, launcherResources(), error));
  for (std::size_t length = 0; length < image.size(); length += 7) {
    Bytes cut(image.begin(), image.begin() + length);
    PeLayout cutLayout;
    std::vector<Resource> resources;
    if (readLayout(cut, cutLayout, error)) readResources(cut, cutLayout, resources, error);
  }
  // A directory entry that points back at its own directory would never end.
  Bytes looped = image;
  put32(looped, 0x400 + 16 + 4, 0x80000000u);
  std::vector<Resource> resources;
  EXPECT_FALSE(readResources(looped, layout, resources, error));
}

TEST(BrandIcon, EveryImageBecomesAnIconOfOneGroup) {
  Bytes ico(6 + 2 * 16, 0);
  put16(ico, 2, 1);
  put16(ico, 4, 2);
  for (int i = 0; i < 2; ++i) {
    ico[6 + 16 * i] = static_cast<std::uint8_t>(16 * (i + 1));
    put32(ico, 6 + 16 * i + 8, 40);
    put32(ico, 6 + 16 * i + 12, ico.size() + 40 * i);
  }
  for (int i = 0; i < 2; ++i) {
    Bytes header(40, 0);
    put32(header, 0, 40);
    ico.insert(ico.end(), header.begin(), header.end());
  }
  std::vector<Resource> resources = launcherResources();
  std::string error;
  ASSERT_TRUE(setIcon(resources, ico, error)) << error;
  ASSERT_TRUE(setIcon(resources, ico, error)) << error;  // replaces, does not add
  EXPECT_EQ(std::count_if(resources.begin(), resources.end(), [](const Resource& r) { return r.type.id == kIconType; }), 2);
  const Resource& group = resources.back();
  ASSERT_EQ(group.type.id, kGroupIconType);
  ASSERT_EQ(group.data.size(), 6u + 2 * 14);
  EXPECT_EQ(group.data[6 + 14], 32);    // the second image's width
  EXPECT_EQ(group.data[6 + 14 + 12], 2);  // and its icon number

  Bytes zero = ico, outside = ico, foreign = ico;
  put16(zero, 4, 0);
  put32(outside, 6 + 8, 0x7FFFFFF0);
  put32(foreign, ico.size() - 40, 12);
  for (const Bytes& bad : {zero, outside, foreign, Bytes(ico.begin(), ico.begin() + 20)}) {
    EXPECT_FALSE(setIcon(resources, bad, error));
  }
}

TEST(BrandVersion, FieldsAndNumbersAreSetAndKept) {
  std::vector<Resource> resources = launcherResources();
  std::string error;
  ASSERT_TRUE(setVersionFields(resources, {{"CompanyName", u"Acme"}, {"FileVersion", u"1.2.65535 beta"}}, error)) << error;
  ASSERT_TRUE(setVersionFields(resources, {{"ProductName", u"Tool"}, {"CompanyName", u"Acme Ltd"}}, error)) << error;
  std::vector<std::pair<std::u16string, std::u16string>> fields;
  ASSERT_TRUE(readVersionFields(resources, fields));
  using Field = std::pair<std::u16string, std::u16string>;
  EXPECT_EQ(fields, (std::vector<Field>{{u"CompanyName", u"Acme Ltd"}, {u"FileVersion", u"1.2.65535 beta"},
                                         {u"ProductName", u"Tool"}}));
  const Bytes& data = resources[2].data;
  EXPECT_EQ(get32(data, 40 + 8), 0x00010002u);
  EXPECT_EQ(get32(data, 40 + 12), 0xFFFF0000u);
  for (const char16_t* bad : {u"beta", u"1.65536", u""}) {
    EXPECT_FALSE(setVersionFields(resources, {{"FileVersion", bad}}, error)) << "accepted a FileVersion";
  }
}

TEST(BrandStrings, TextsReplacedWithTheirPlaceholders) {
  std::vector<Resource> resources = launcherResources();
  Bytes block;
  for (int i = 0; i < 16; ++i) {  // texts 208 to 223: "t%ls" each
    const char16_t text[] = u"t%ls";
    block.push_back(4);
    block.push_back(0);
    for (char16_t c : std::u16string_view(text, 4)) {
      block.push_back(static_cast<std::uint8_t>(c));
      block.push_back(0);
    }
  }
  resources.push_back({{kStringType, {}}, {14, {}}, 0x409, 0, block});
  std::string error;
  ASSERT_TRUE(replaceStrings(resources, "\xEF\xBB\xBF# comment\r\n\r\n210 = \xC3\x9C %ls\\n\\\\x\r\n", error)) << error;
  const Bytes& data = resources.back().data;
  // Text 210 follows two texts of length 4: "Ü %ls", line break, backslash, "x".
  const std::u16string expected = u"\u00DC %ls\n\\x";
  ASSERT_EQ(data[20], expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(data[22 + 2 * i] | data[23 + 2 * i] << 8, expected[i]);
  for (const char* bad : {"210=no placeholder\n", "210=%lu\n", "999=x %ls\n", "210\n", "210=\n", "x=1\n", "210=\xC3 %ls\n"}) {
    EXPECT_FALSE(replaceStrings(resources, bad, error)) << bad;
  }
}

TEST(BrandText, Utf8IsCheckedAsItIsConverted) {
  std::u16string out;
  EXPECT_TRUE(utf8ToUtf16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", out));
  EXPECT_EQ(out, u"A\u00E9\u20AC\U0001F600");
  for (const char* bad : {"\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
    EXPECT_FALSE(utf8ToUtf16(bad, out)) << "accepted an ill-formed sequence";
  }
}

}  // namespace
}  // namespace brand
