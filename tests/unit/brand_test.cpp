// The branding command's readers and writers on images and files made here, under the
// sanitizers: a damaged input must be refused, never read past its end.
#include <gtest/gtest.h>

#include <numeric>

#include "brand_edits.h"
#include "pe_resources.h"
#include "version_resource.h"

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

// smallImage() with `resources` written into it; its resource section starts at file offset
// 0x400, address 0x2000.
Bytes imageWith(std::vector<Resource> resources) {
  Bytes image = smallImage();
  PeLayout layout;
  std::string error;
  EXPECT_TRUE(readLayout(image, layout, error)) << error;
  EXPECT_TRUE(writeResources(image, layout, std::move(resources), error)) << error;
  return image;
}
constexpr std::size_t kRsrc = 0x400, kRsrcHeader = 0x58 + 224 + 40;

// Both the reader and the writer refuse `image`, saying `why`, and leave it as it was.
void expectRefused(const Bytes& image, const std::string& why) {
  PeLayout layout;
  std::string error;
  ASSERT_TRUE(readLayout(image, layout, error)) << error;
  std::vector<Resource> resources;
  EXPECT_FALSE(readResources(image, layout, resources, error)) << why;
  EXPECT_NE(error.find(why), std::string::npos) << error;
  Bytes copy = image;
  error.clear();
  EXPECT_FALSE(writeResources(copy, layout, launcherResources(), error)) << why;
  EXPECT_NE(error.find(why), std::string::npos) << error;
  EXPECT_EQ(copy, image);
}

TEST(BrandImage, OnlyOneSectionMayStartAtTheResourceAddress) {
  // The confirmed fault: one more header at the resources' address, without data, was the one
  // the writer rewrote, and the "branded" copy was the new section alone.
  Bytes image = imageWith(launcherResources());
  const std::size_t extra = 0x58 + 224 + 3 * 40;
  const char name[] = ".rsrc2";
  std::copy(name, name + 6, image.begin() + extra);
  put32(image, extra + 8, 0x100);
  put32(image, extra + 12, 0x2000);
  put32(image, extra + 36, 0x40000040);
  put16(image, 0x46, 4);
  expectRefused(image, "2 sections start at the resource directory's address");
  put32(image, extra + 12, 0x5000);  // elsewhere, after everything: only its order is wrong
  put16(image, extra + 16, 0x200);
  put16(image, extra + 20, 0x200);
  expectRefused(image, "the section .rsrc2 does not start after the resources end");
  Bytes none = imageWith(launcherResources());
  put32(none, kRsrcHeader + 12, 0x2400);
  expectRefused(none, "does not start a section");
}

TEST(BrandImage, TheResourceSectionComesAfterTheHeadersAndTheSectionsBeforeIt) {
  const Bytes image = imageWith(launcherResources());
  Bytes headers = image;
  put32(headers, 0x58 + 60, 0x600);  // SizeOfHeaders past the resources' start
  expectRefused(headers, "headers reach into its resource section");
  Bytes fileOverlap = image;
  put32(fileOverlap, 0x58 + 224 + 16, 0x400);  // .text's data runs into the resources
  expectRefused(fileOverlap, "the section .text does not end before the resources start");
  Bytes memoryOverlap = image;
  put32(memoryOverlap, 0x58 + 224 + 8, 0x1001);  // .text's memory runs into the resources
  expectRefused(memoryOverlap, "the section .text does not end before the resources start");
  Bytes relocationsFirst = image;
  put32(relocationsFirst, 0x58 + 224 + 80 + 20, 0x200);  // .reloc's data before the resources
  expectRefused(relocationsFirst, "the section .reloc does not start after the resources end");
  Bytes noData = image;
  put32(noData, kRsrcHeader + 16, 0);
  expectRefused(noData, "the resource section's data lies outside the file");
  Bytes outside = image;
  put32(outside, kRsrcHeader + 20, 0x10000);
  expectRefused(outside, "the resource section's data lies outside the file");
}

TEST(BrandImage, AlignmentsThatWouldMakeAHugeFileAreRefused) {
  for (std::uint32_t file : {0u, 0x300u, 0x20000u, 0x80000000u}) {
    Bytes image = imageWith(launcherResources());
    put32(image, 0x58 + 36, file);
    put32(image, 0x58 + 32, std::max(file, 0x1000u));
    PeLayout layout;
    std::string error;
    EXPECT_FALSE(readLayout(image, layout, error)) << "file alignment " << file;
  }
  Bytes image = imageWith(launcherResources());
  put32(image, 0x58 + 32, 0x100);  // sections aligned more loosely than the file
  PeLayout layout;
  std::string error;
  EXPECT_FALSE(readLayout(image, layout, error));
}

// A directory of `fan` numbered entries at `at`, each leading to `target`.
void putDirectory(Bytes& image, std::size_t at, int fan, std::uint32_t target) {
  std::fill(image.begin() + at, image.begin() + at + 16, 0);
  put16(image, at + 14, fan);
  for (int i = 0; i < fan; ++i) {
    put32(image, at + 16 + 8 * i, i + 1);
    put32(image, at + 20 + 8 * i, target);
  }
}

// The resources read so far, against the limits the reader promises.
void expectBounded(const std::vector<Resource>& resources, std::size_t sectionSize) {
  std::size_t data = 0, text = 0;
  for (const Resource& r : resources) data += r.data.size(), text += nameBytes(r);
  EXPECT_LE(data, sectionSize);
  EXPECT_LE(text, sectionSize);
  EXPECT_LE(resources.size() * 16, sectionSize);
}

TEST(BrandImage, ATreeThatReusesItsPartsIsRefusedAtOnce) {
  // The confirmed fault: one directory per level and one data entry, 60 entries each: 216,000
  // resources of 4 KB, 894 MB, from a 157 KB file.
  std::vector<Resource> resources = launcherResources();
  resources.push_back({{10, {}}, {1, {}}, 0x409, 0, Bytes(8192, 3)});
  const Bytes image = imageWith(resources);
  const std::size_t sectionSize = get32(image, kRsrcHeader + 8), directory = 16 + 8 * 60;
  Bytes shared = image;
  putDirectory(shared, kRsrc, 60, 0x80000000u | directory);
  putDirectory(shared, kRsrc + directory, 60, 0x80000000u | 2 * directory);
  putDirectory(shared, kRsrc + 2 * directory, 60, 3 * directory);
  put32(shared, kRsrc + 3 * directory, 0x2000 + 2048);
  put32(shared, kRsrc + 3 * directory + 4, 4096);
  PeLayout layout;
  std::string error;
  ASSERT_TRUE(readLayout(shared, layout, error));
  std::vector<Resource> read;
  EXPECT_FALSE(readResources(shared, layout, read, error));
  EXPECT_NE(error.find("a data entry is reached twice"), std::string::npos) << error;
  EXPECT_LE(read.size(), 1u);
  expectBounded(read, sectionSize);

  // One name directory reached from two types, each of whose entries leads to its own data entry.
  Bytes sharedDirectory = image;
  putDirectory(sharedDirectory, kRsrc, 2, 0x80000000u | 32);
  putDirectory(sharedDirectory, kRsrc + 32, 1, 0x80000000u | 56);
  putDirectory(sharedDirectory, kRsrc + 56, 1, 80);
  put32(sharedDirectory, kRsrc + 80, 0x2000);
  put32(sharedDirectory, kRsrc + 84, 16);
  read.clear();
  EXPECT_FALSE(readResources(sharedDirectory, layout, read, error));
  EXPECT_NE(error.find("a directory is reached twice"), std::string::npos) << error;

  // Three data entries of their own, each holding most of the section.
  Bytes large = image;
  putDirectory(large, kRsrc, 1, 0x80000000u | 24);
  putDirectory(large, kRsrc + 24, 1, 0x80000000u | 48);
  putDirectory(large, kRsrc + 48, 3, 0);
  for (int i = 0; i < 3; ++i) {
    put32(large, kRsrc + 48 + 20 + 8 * i, 96 + 16 * i);
    put32(large, kRsrc + 96 + 16 * i, 0x2000);
    put32(large, kRsrc + 96 + 16 * i + 4, sectionSize / 2);
  }
  read.clear();
  EXPECT_FALSE(readResources(large, layout, read, error));
  EXPECT_NE(error.find("data add up to more than the resource section holds"), std::string::npos) << error;
  expectBounded(read, sectionSize);

  // A type name as long as half the section, repeated for each of three resources.
  Bytes names = large;
  put32(names, kRsrc + 16, 0x80000000u | 160);
  put16(names, kRsrc + 12, 1);
  put16(names, kRsrc + 14, 0);
  put16(names, kRsrc + 160, sectionSize / 4);
  for (int i = 0; i < 3; ++i) put32(names, kRsrc + 96 + 16 * i + 4, 16);
  read.clear();
  EXPECT_FALSE(readResources(names, layout, read, error));
  EXPECT_NE(error.find("texts add up to more than the resource section holds"), std::string::npos) << error;
  expectBounded(read, sectionSize);
}

TEST(BrandImage, LayoutsPast4GiBAreRefusedNotWrapped) {
  std::vector<Resource> two = {{{10, {}}, {1, {}}, 0, 0, {}}, {{10, {}}, {2, {}}, 0, 0, {}}};
  SectionPlan plan;
  std::string error;
  EXPECT_FALSE(planResourceSection(two, {0x80000000u, 0x80000000u}, plan, error));
  EXPECT_NE(error.find("4 GiB"), std::string::npos) << error;
  ASSERT_TRUE(planResourceSection(two, {0xFFFF0000u, 16}, plan, error)) << error;
  EXPECT_EQ(plan.dataOffsets[1], (plan.dataOffsets[0] + 0xFFFF0000u + 7) / 8 * 8);
  EXPECT_LE(plan.end, 0xFFFFFFFFu);

  // The format counts a directory's numbered entries, and a text's characters, in 16 bits.
  std::vector<Resource> many(0x10000);
  for (std::size_t i = 0; i < many.size(); ++i) many[i] = {{10, {}}, {static_cast<std::uint16_t>(i), {}}, 0, 0, {}};
  EXPECT_FALSE(planResourceSection(many, std::vector<std::uint64_t>(many.size()), plan, error));
  many.pop_back();
  EXPECT_TRUE(planResourceSection(many, std::vector<std::uint64_t>(many.size()), plan, error)) << error;
  std::vector<Resource> longName = {{{0, std::u16string(0x10000, u'n')}, {1, {}}, 0, 0, {}}};
  EXPECT_FALSE(planResourceSection(longName, {0}, plan, error));

  // Relocations so large in memory that the image would end past 4 GiB.
  Bytes image = smallImage();
  put32(image, 0x58 + 224 + 80 + 8, 0xFFFFE000u);
  PeLayout layout;
  ASSERT_TRUE(readLayout(image, layout, error));
  const Bytes before = image;
  EXPECT_FALSE(writeResources(image, layout, launcherResources(), error));
  EXPECT_NE(error.find("4 GiB"), std::string::npos) << error;
  EXPECT_EQ(image, before);
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

// A block of the version information with `children` inside, as a resource compiler writes it.
Bytes versionBlock(const std::u16string& key, const Bytes& value, const std::vector<Bytes>& children) {
  Bytes b(6, 0);
  put16(b, 2, value.size());
  put16(b, 4, 0);
  for (char16_t c : key) add16(b, c);
  add16(b, 0);
  b.resize((b.size() + 3) & ~std::size_t(3), 0);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    b.resize((b.size() + 3) & ~std::size_t(3), 0);
    b.insert(b.end(), child.begin(), child.end());
  }
  put16(b, 0, b.size());
  return b;
}

TEST(BrandVersion, BlocksNestAtMostFourDeep) {
  const Bytes resource = versionResource();
  const Bytes fixed(resource.begin() + 40, resource.end());
  Bytes text = versionBlock(u"CompanyName", {}, {});
  Bytes four = versionBlock(u"VS_VERSION_INFO", fixed,
                            {versionBlock(u"StringFileInfo", {}, {versionBlock(u"040904B0", {}, {text})})});
  VersionBlock root;
  ASSERT_TRUE(parseVersion(four, root));
  EXPECT_EQ(root.children[0].children[0].children[0].key, u"CompanyName");
  Bytes five = versionBlock(u"VS_VERSION_INFO", fixed,
                            {versionBlock(u"StringFileInfo", {}, {versionBlock(u"040904B0", {}, {versionBlock(u"x", {}, {text})})})});
  EXPECT_FALSE(parseVersion(five, root));
  std::vector<Resource> resources = launcherResources();
  resources[2].data = five;
  std::string error;
  EXPECT_FALSE(setVersionFields(resources, {{"CompanyName", u"Acme"}}, error));
  std::vector<std::pair<std::u16string, std::u16string>> fields;
  EXPECT_FALSE(readVersionFields(resources, fields));
  // Nesting as deep as the resource is long, which a recursive reader would follow to the end.
  Bytes deep = text;
  while (deep.size() + 16 < 0xFFFF) deep = versionBlock(u"x", {}, {deep});
  EXPECT_FALSE(parseVersion(deep, root));
}

TEST(BrandVersion, ValuesCutShortByTheirBlockAreKeptButNotBuiltOn) {
  const Bytes resource = versionResource();
  const Bytes fixed(resource.begin() + 40, resource.end());
  // Some resource compilers count a text value in bytes: its length runs past the block, and the
  // value is read to the block's end.
  Bytes value = {'A', 0, 'c', 0, 'm', 0, 'e', 0, 0, 0};
  Bytes quirk = versionBlock(u"CompanyName", value, {});
  put16(quirk, 2, value.size());
  put16(quirk, 4, 1);
  std::vector<Resource> resources = launcherResources();
  resources[2].data = versionBlock(u"VS_VERSION_INFO", fixed,
                                   {versionBlock(u"StringFileInfo", {}, {versionBlock(u"040904B0", {}, {quirk})})});
  std::string error;
  ASSERT_TRUE(setVersionFields(resources, {{"ProductName", u"Tool"}}, error)) << error;
  std::vector<std::pair<std::u16string, std::u16string>> fields;
  ASSERT_TRUE(readVersionFields(resources, fields));
  using Field = std::pair<std::u16string, std::u16string>;
  EXPECT_EQ(fields, (std::vector<Field>{{u"CompanyName", u"Acme"}, {u"ProductName", u"Tool"}}));

  // A string table whose value runs to its end: fields added after it would be read as its value
  // and lost, while branding said it had set them.
  Bytes table = versionBlock(u"040904B0", {}, {});
  put16(table, 2, 0x2000);
  put16(table, 4, 1);
  resources[2].data = versionBlock(u"VS_VERSION_INFO", fixed, {versionBlock(u"StringFileInfo", {}, {table})});
  const Bytes before = resources[2].data;
  EXPECT_FALSE(setVersionFields(resources, {{"CompanyName", u"Acme"}}, error));
  EXPECT_NE(error.find("damaged"), std::string::npos) << error;
  EXPECT_EQ(resources[2].data, before);
}

TEST(BrandVersion, ValuesTooLongForTheirLengthFieldsAreRefused) {
  std::vector<Resource> resources = launcherResources();
  std::string error;
  const Bytes before = resources[2].data;
  // 40,000 characters: 80,000 bytes, more than a block's 16-bit length can say.
  EXPECT_FALSE(setVersionFields(resources, {{"CompanyName", std::u16string(40000, u'a')}}, error));
  EXPECT_NE(error.find("65535"), std::string::npos) << error;
  EXPECT_EQ(resources[2].data, before);
  EXPECT_FALSE(setVersionFields(resources, {{"CompanyName", std::u16string(0x10000, u'a')}}, error));
  // Two that fit alone but not together.
  EXPECT_FALSE(setVersionFields(resources, {{"CompanyName", std::u16string(20000, u'a')}, {"Comments", std::u16string(20000, u'b')}}, error));
  EXPECT_EQ(resources[2].data, before);
  // The longest that fits is written whole and read back.
  ASSERT_TRUE(setVersionFields(resources, {{"CompanyName", std::u16string(32000, u'a')}}, error)) << error;
  std::vector<std::pair<std::u16string, std::u16string>> fields;
  ASSERT_TRUE(readVersionFields(resources, fields));
  EXPECT_EQ(fields.at(0).second, std::u16string(32000, u'a'));
  EXPECT_EQ(get16(resources[2].data, 0), resources[2].data.size());
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
  // A text has a 16-bit length: one longer is refused, not cut short into a damaged table.
  const Bytes before = resources.back().data;
  EXPECT_FALSE(replaceStrings(resources, "210=" + std::string(0x10000, 'x') + " %ls\n", error));
  EXPECT_NE(error.find("65535"), std::string::npos) << error;
  EXPECT_EQ(resources.back().data, before);
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
