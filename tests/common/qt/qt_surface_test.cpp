#include "common/qt/qt_surface.h"
#include "common/qt/pdf_text_map.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>

#include "support/pdf_files.h"
#include "support/qt/qt_app.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace scorvane {
namespace {

using testing::PdfPageSizes;
using testing::PdfText;
using testing::ReadBytes;
using testing::RunProgram;
using testing::TempDir;

class QtSurfaceTest : public testing::QtTest {};

TEST_F(QtSurfaceTest, MeasuresChineseTextWithTheRealFontInTwips) {
    auto s = QtSurface::ForImage(7500, 4800);
    SurfaceFont song;
    song.size = 9;
    s->setFont(song);
    // A Chinese character is one em wide: 9 points are 180 twips.
    EXPECT_NEAR(s->textWidth("成绩"), 360, 4);
    EXPECT_NEAR(s->textWidth("成绩\r\n成"), 360, 4);
    const double line = s->textHeight("");
    EXPECT_GT(line, 180);
    EXPECT_LT(line, 360);
    EXPECT_DOUBLE_EQ(s->textHeight("a\r\nb\nc"), 3 * line);
    song.size = 18;
    s->setFont(song);
    EXPECT_NEAR(s->textWidth("成绩"), 720, 8);

    auto pdf = QtSurface::ForPdfFile("/nonexistent/unused.pdf");
    pdf->setFont(song);
    EXPECT_NEAR(pdf->textWidth("成绩"), 720, 2);
}

TEST_F(QtSurfaceTest, PictureHasItsSizeDrawsInTwipsAndSavesBitmaps) {
    TempDir dir;
    auto s = QtSurface::ForImage(7500, 4800);
    ASSERT_NE(s->image(), nullptr);
    EXPECT_EQ(s->image()->size(), QSize(500, 320));
    EXPECT_EQ(s->width(), 7500);
    EXPECT_EQ(s->height(), 4800);
    EXPECT_FALSE(s->isPrinter());

    s->fillBox(1500, 1500, 3000, 3000, Rgb(255, 0, 0));  // pixels 100 .. 200
    EXPECT_EQ(s->image()->pixelColor(150, 150), QColor(255, 0, 0));
    EXPECT_EQ(s->image()->pixelColor(90, 150), QColor(255, 255, 255));
    s->setLineWidth(1);
    s->drawLine(0, 3750, 7500, 3750, Rgb(0, 0, 255));
    EXPECT_EQ(s->image()->pixelColor(10, 250).blue(), 255);

    // A taller picture keeps what was drawn; clear makes it white again.
    s->setSize(7500, 9600);
    EXPECT_EQ(s->image()->height(), 640);
    EXPECT_EQ(s->image()->pixelColor(150, 150), QColor(255, 0, 0));

    ASSERT_TRUE(s->saveImage(dir.file("chart.bmp")));
    std::string bmp = ReadBytes(dir.file("chart.bmp"));
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    QImage back(QString::fromStdString(dir.file("chart.bmp")));
    EXPECT_EQ(back.size(), QSize(500, 640));
    ASSERT_TRUE(s->saveImage(dir.file("chart.png")));
    EXPECT_EQ(ReadBytes(dir.file("chart.png")).substr(1, 3), "PNG");
    EXPECT_FALSE(s->saveImage(dir.path()));  // a folder stands where the file should go

    s->clear();
    EXPECT_EQ(s->image()->pixelColor(150, 150), QColor(255, 255, 255));
    EXPECT_TRUE(s->newPage());
    EXPECT_TRUE(s->endJob());
}

TEST_F(QtSurfaceTest, TextIsDrawnAtItsTopLeftCorner) {
    auto s = QtSurface::ForImage(3000, 1500);
    SurfaceFont big;
    big.name = "黑体";
    big.size = 36;
    s->setFont(big);
    s->setCurrentX(750);
    s->setCurrentY(300);
    s->printText("国");
    EXPECT_NEAR(s->currentY(), 300 + s->textHeight(""), 1e-9);
    EXPECT_EQ(s->currentX(), 0);
    // Ink lies right of x = 750 (50 px) and below y = 300 (20 px), within one em.
    const QImage& img = *s->image();
    int minX = img.width(), minY = img.height(), maxX = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (img.pixelColor(x, y).lightness() < 128) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
            }
        }
    }
    EXPECT_GE(minX, 50);
    EXPECT_LT(minX, 58);
    EXPECT_GE(minY, 20);
    EXPECT_LT(maxX, 50 + 48 + 2);  // 36 points are 48 px
}

TEST_F(QtSurfaceTest, PdfKeepsTextAsTextOverSeveralPagesAndTurnsThePaper) {
    TempDir dir;
    const std::string path = dir.file("out.pdf");
    auto s = QtSurface::ForPdfFile(path, "测试");
    EXPECT_TRUE(s->isPrinter());
    EXPECT_EQ(s->width(), 11907);
    SurfaceFont song;
    s->setFont(song);
    s->setCurrentX(1000);
    s->setCurrentY(1000);
    s->printText("成绩通知单 A&B");
    s->drawTextInRect(1000, 3000, 5000, 3300, "右对齐", TextAlign::Right);
    s->drawLine(567, 567, 11340, 567, kBlack);
    ASSERT_TRUE(s->newPage());
    s->setOrientation(PageOrientation::Landscape);
    EXPECT_EQ(s->width(), 16840);
    ASSERT_TRUE(s->newPage());
    s->drawTextAt(1000, 1000, "第三页");
    EXPECT_EQ(s->pageCount(), 3);
    ASSERT_TRUE(s->endJob());
    EXPECT_FALSE(s->failed());

    EXPECT_EQ(ReadBytes(path).substr(0, 5), "%PDF-");
    const std::string text = PdfText(path);
    EXPECT_NE(text.find("成绩通知单 A&B"), std::string::npos) << text;
    EXPECT_NE(text.find("右对齐"), std::string::npos);
    EXPECT_NE(text.find("第三页"), std::string::npos);
    EXPECT_EQ(PdfPageSizes(path), "3 595x842 595x842 842x595");
}

// A surface keeps the fonts it met, and forgets them when there are many: a font met again measures
// as the first time, and texts gathered in a font about to be forgotten still reach the paper.
TEST_F(QtSurfaceTest, AFontMetAgainMeasuresAsBeforeHoweverManyCameBetween) {
    TempDir dir;
    const std::string path = dir.file("fonts.pdf");
    auto pdf = QtSurface::ForPdfFile(path);
    auto picture = QtSurface::ForImage(7500, 4800);
    for (QtSurface* s : {pdf.get(), picture.get()}) {
        SurfaceFont first;
        first.size = 9;
        s->setFont(first);
        const double width = s->textWidth("成绩 85.5");
        const double height = s->textHeight("a\nb");
        SurfaceFont other = first;
        for (int i = 0; i < 100; ++i) {
            other.size = 5 + i * 0.5;
            other.bold = i % 2 == 1;
            s->setFont(other);
            EXPECT_GT(s->textWidth("成绩"), 0);
            s->drawTextAt(100, 100 + i * 40, "字" + std::to_string(i));
        }
        s->setFont(first);
        EXPECT_EQ(s->textWidth("成绩 85.5"), width);
        EXPECT_EQ(s->textHeight("a\nb"), height);
    }
    ASSERT_TRUE(pdf->endJob());
    const std::string text = PdfText(path);
    for (int i : {0, 63, 64, 99}) {
        EXPECT_NE(text.find("字" + std::to_string(i)), std::string::npos) << i;
    }
}

TEST_F(QtSurfaceTest, PdfThatCannotBeWrittenFailsAndLeavesNoFile) {
    TempDir dir;
    auto s = QtSurface::ForPdfFile(dir.path());  // a folder
    s->drawTextAt(100, 100, "x");
    EXPECT_FALSE(s->endJob());
    EXPECT_TRUE(s->failed());
    auto missing = QtSurface::ForPdfFile(dir.file("no/such/folder/"));
    EXPECT_FALSE(missing->endJob());

    // An empty job still makes its one empty sheet.
    auto empty = QtSurface::ForPdfFile(dir.file("empty.pdf"));
    ASSERT_TRUE(empty->endJob());
    EXPECT_EQ(PdfPageSizes(dir.file("empty.pdf")), "1 595x842");
}

}  // namespace
}  // namespace scorvane

namespace scorvane {
namespace {

TEST_F(QtSurfaceTest, PdfTextReadsTheCharactersDrawnNotTheRadicalsSharingTheirGlyphs) {
    TempDir dir;
    const std::string path = dir.file("names.pdf");
    auto s = QtSurface::ForPdfFile(path);
    const std::string line = "马龙 黄长门 页面齐全 一人大学 风飞见贝车 西青民母";
    s->drawTextAt(1000, 1000, line);
    SurfaceFont hei;
    hei.name = "黑体";
    s->setFont(hei);
    s->drawTextAt(1000, 2000, "马页齐");
    ASSERT_TRUE(s->endJob());
    const std::string text = PdfText(path);
    EXPECT_NE(text.find(line), std::string::npos) << text;
    EXPECT_NE(text.find("马页齐"), std::string::npos) << text;
}

TEST(PdfTextMap, RewritesOnlyCodePointsOfRadicalsStandingForDrawnCharacters) {
    QByteArray pdf(
        "stream\nbegincmap\n1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n2 beginbfrange\n"
        "<2EDA> <2EDB> [<2EDA> <2F00>]\n<0005> <0005> <2EE2>\nendbfrange\n1 beginbfchar\n<2EEC> <2EEC>\n"
        "endbfchar\nendcmap\n");
    std::vector<bool> drawn(0x10000, false);
    drawn[0x9875] = true;  // 页
    drawn[0x4E00] = true;  // 一
    drawn[0x9F50] = true;  // 齐
    const qsizetype size = pdf.size();
    RestoreDrawnCharacters(pdf, drawn);
    EXPECT_EQ(pdf.size(), size);
    // Glyph codes stay; 马 was never drawn, so its radical stays too.
    EXPECT_NE(pdf.indexOf("<2EDA> <2EDB> [<9875> <4E00>]"), -1) << pdf.constData();
    EXPECT_NE(pdf.indexOf("<0005> <0005> <2EE2>"), -1);
    EXPECT_NE(pdf.indexOf("<2EEC> <9F50>"), -1);
    EXPECT_NE(pdf.indexOf("<0000> <FFFF>"), -1);

    drawn[0x2EDA] = true;  // a radical really drawn keeps its code point
    QByteArray again("begincmap\n1 beginbfchar\n<0001> <2EDA>\nendbfchar\nendcmap");
    RestoreDrawnCharacters(again, drawn);
    EXPECT_NE(again.indexOf("<0001> <2EDA>"), -1);
}

}  // namespace
}  // namespace scorvane
