// Makes real page sources in a real kiosk folder and compares the three made
// files byte for byte with hand-written expected files, plus the messages of
// faulty lines in their order.
#include "maker_test_support.h"

#include "maker/page_maker.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Picture {
    const char* name;
    int width, height;
};
// A message of a faulty line; line == nullptr means the text is shown as it stands. "%D" stands for the page folder.
struct Message {
    const char* text;
    const char* line;
};

struct PageCase {
    const char* name;
    const char* folder;
    const char* page;
    QStringList source;
    std::vector<Picture> pictures;
    QStringList otherPages; // "folder/page" sources that must exist
    std::vector<Message> messages;
    QStringList copiesMade, copiesMissing;
};

const char* const kSalesFolderMessage =
    "Sales is not a valid folder name\r\nA valid folder name may only contain\r\n\r\n"
    " lower case letters,\r\n digits,\r\n underscores(_) and dashes(-)";

std::vector<PageCase> pageCases()
{
    return {
        {"root",
         "root",
         "root",
         {"#root", "#title Ostervale <Kiosk>", "# a comment", "#", "#para", "Welcome & hello", "<b>bold</b>", "",
          "Second line", "#PARA", "Next paragraph", "#button news\\today Today's News", "#button news/events Events",
          "#button", "#button about About Us", "#html", "<hr class=\"x\">", "#break", "#image \"town hall.jpg\""},
         {{"Town Hall.jpg", 473, 200}},
         {"news/today", "news/events", "root/about"},
         {},
         {"images/root00001.jpg"},
         {}},
        {"branch",
         "news",
         "events",
         {"#branch", "#Title   Events  ", "#image banner.jpg left 50%", "#para", "Text beside",
          "#image Banner.JPG right 25", "#button today Today", "#button root\\root Start", "#head Opening hours"},
         {{"banner.jpg", 473, 200}},
         {"news/today", "root/root"},
         {{"Expected valid directive", "#head Opening hours"}},
         {"images/events00001.jpg", "images/events00002.jpg"},
         {}},
        {"leaf",
         "news",
         "today",
         {"#leaf", "#title Today", "#head Opening <hours>", "#para", "Monday & Tuesday",
          "#image img_0042.jpg right 25%", "#image IMG_0042.jpg center 50", "#html", "<b>bold</b>",
          "#button root\\root Home", "Loose text", "#break"},
         {{"IMG_0042.JPG", 546, 200}},
         {},
         {{"You can not put buttons on a leaf page", "#button root\\root Home"},
          {"Expected valid directive", "Loose text"}},
         {"images/today00001.jpg", "images/today00002.jpg"},
         {}},
        {"selector",
         "animals",
         "index",
         {"#selector", "#title Our <Animals>", "#item cat.jpg animals\\cat The <b>Cat</b>",
          "#item \"small dog.jpg\" dog   Small dog  ", "#item horse.jpg horse", "#title Late", "#para"},
         {{"cat.jpg", 400, 300}, {"Small Dog.jpg", 100, 100}},
         {"animals/cat", "animals/dog"},
         {{"Invalid item directive", "#item horse.jpg horse"},
          {"Image %D/horse.jpg does not exist", "#item horse.jpg horse"},
          {"title directive must occur before any item directives", "#title Late"},
          {"Expected valid directive", "#para"}},
         {"images/index00001.jpg", "images/index00002.jpg"},
         {"images/index00003.jpg"}},
        {"selector_empty", "animals", "empty", {"#selector"}, {}, {}, {}, {}, {}},
        // Picture names are paths relative to the page folder, with either separator and any
        // letter case per part; the copy is always images/pageNNNNN.jpg.
        {"pictures_elsewhere",
         "sales",
         "prices",
         {"#leaf", "#image pics\\cat.jpg", "#image pics/cat.jpg", "#image ..\\shared\\logo.jpg", "#image PICS/CAT.JPG",
          "#image ..", "#image /etc/passwd"},
         {{"Pics/cat.jpg", 40, 30}, {"../shared/Logo.JPG", 40, 30}},
         {},
         {{"Image %D/.. does not exist", "#image .."}, {"Image %D//etc/passwd does not exist", "#image /etc/passwd"}},
         {"images/prices00001.jpg", "images/prices00002.jpg", "images/prices00003.jpg", "images/prices00004.jpg"},
         {"images/prices00005.jpg", "images/prices00006.jpg", "Pics/images"}},
        // A page-type line in capitals is no page type: the page's files are made empty.
        {"invalid", "news", "bad", {"#Leaf", "#title Bad"}, {}, {}, {{"Invalid Zel Page", ""}}, {}, {}},
        {"errors",
         "sales",
         "prices",
         {"#branch", "#image", "#image \"photo.jpg", "#image cat.gif", "#image missing.jpg", "#image photo.jpg middle",
          "#image photo.jpg right 0", "#image photo.jpg left abc", "#button prices", "#button Sales\\prices Bad Name",
          "#button nothere Not There", "#button prices Self", "#button a b", "#button c d", "#button e f",
          "#button g h", "##"},
         {{"photo.jpg", 473, 200}, {"cat.gif", 20, 20}},
         {},
         {{"no image specified", "#image"},
          {"unmatched \" in file name", "#image \"photo.jpg"},
          {"Unsupported image file type", "#image cat.gif"},
          {"Image %D/missing.jpg does not exist", "#image missing.jpg"},
          {"invalid image directive", "#image photo.jpg middle"},
          {"invalid image directive", "#image photo.jpg right 0"},
          {"invalid image directive", "#image photo.jpg left abc"},
          {"Invalid button directive", "#button prices"},
          {kSalesFolderMessage, nullptr},
          {"Reference to non-existent page", "#button nothere Not There"},
          {"Reference to non-existent page", "#button a b"},
          {"Reference to non-existent page", "#button c d"},
          {"Reference to non-existent page", "#button e f"},
          {"Reference to non-existent page", "#button g h"},
          {"Expected valid directive", "##"},
          {"Too many buttons on page", "##"}},
         {"images/prices00003.jpg", "images/prices00004.jpg", "images/prices00005.jpg"},
         {"images/prices00001.jpg", "images/prices00002.jpg"}},
    };
}

// The hand-written tests/maker/expected/<caseName>/<fileName> as the maker must write it: each line ended by CR LF.
QByteArray expectedBytes(const QString& caseName, const QString& fileName)
{
    QByteArray bytes = readBytes(ZEL_SOURCE_DIR "/tests/maker/expected/" + caseName + '/' + fileName);
    return bytes.replace("\r\n", "\n").replace("\n", "\r\n");
}

class PageFiles : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageFiles, MakesExactlyTheExpectedFilesAndMessages)
{
    const PageCase& row = GetParam();
    TemporaryKiosk kiosk(makerConfiguration());
    PageMaker maker(kiosk.openHeadless());
    const QString folder = kiosk.path(row.folder) + '/';
    for (const QString& other : row.otherPages)
        writeTextFile(kiosk.path(other + ".zel"), {"#leaf"});
    const QString sourcePath = folder + row.page + ".zel";
    writeTextFile(sourcePath, row.source);
    for (const Picture& picture : row.pictures)
        makePicture(folder + picture.name, picture.width, picture.height);
    kiosk.messages.clear();

    maker.makeOnePage(sourcePath);

    for (const char* suffix : {".htm", "_con.htm", "_nav.htm"}) {
        const QString fileName = row.page + QString(suffix);
        EXPECT_TRUE(QFile::exists(folder + fileName)) << fileName.toStdString();
        EXPECT_EQ(readBytes(folder + fileName).toStdString(), expectedBytes(row.name, fileName).toStdString())
            << fileName.toStdString();
    }
    QStringList expectedMessages;
    for (const Message& message : row.messages) {
        const QString text = QString(message.text).replace("%D", kiosk.path(row.folder));
        expectedMessages.append(message.line ? text + "\r\nIn line - " + message.line + "\r\nIn file - " + sourcePath
                                             : text);
    }
    EXPECT_EQ(kiosk.messages.texts().join(u'|').toStdString(), expectedMessages.join(u'|').toStdString());
    for (const QString& copy : row.copiesMade)
        EXPECT_TRUE(QFile::exists(folder + copy)) << copy.toStdString();
    for (const QString& copy : row.copiesMissing)
        EXPECT_FALSE(QFile::exists(folder + copy)) << copy.toStdString();
    EXPECT_EQ(kiosk.session.endCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageFiles, ::testing::ValuesIn(pageCases()),
                         [](const ::testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

} // namespace
