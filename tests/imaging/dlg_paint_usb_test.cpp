// dlg_paint_usb_test.cpp - the "Capture Image" window: frames, sizes, scroll bars, painting and saving.
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/scroll_bar.h"
#include "paint_usb_fixture.h"

using enum CDlgPaintUsb::CtlId;

using PaintUsbTest = PaintUsbFixture;

TEST_F(PaintUsbTest, OpenFetchesOneFrameAtTheChosenSize) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  const auto rects = sim.calls("SetTargetRect");
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].args.at("rect"), "0,0,2048,1536");
  const auto frames = sim.calls("CaptureFrame");
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].value("mode"), 1);
  ASSERT_NE(window->frame(), nullptr);
  EXPECT_EQ(CameraLibrary::instance().frameSize(window->frame()), 40u + 1024u + 2048u * 1536u);
}

TEST_F(PaintUsbTest, OpenWithoutACameraFails) {
  makeWindow();
  EXPECT_FALSE(window->openGrab(nullptr));
  EXPECT_EQ(window->frame(), nullptr);
}

TEST_F(PaintUsbTest, StartSizeIsLimitedAtPaintingExceptForOneType) {
  open("211150");  // 1280 x 1024 at most
  window->refresh();
  EXPECT_EQ(ctl<QLineEdit>(kWidthEdit)->text(), "1280");
  EXPECT_EQ(ctl<QLineEdit>(kHeightEdit)->text(), "1024");
  TearDown();
  SetUp();
  open("321510");
  window->refresh();
  EXPECT_EQ(ctl<QLineEdit>(kWidthEdit)->text(), "2048");
  EXPECT_EQ(ctl<QLineEdit>(kHeightEdit)->text(), "1536");
}

TEST_F(PaintUsbTest, SizeConfirmLowersToTheCameraMaximum) {
  struct Case {
    const char* width;
    const char* height;
    int32_t expectW, expectH;
  } cases[] = {{"-1", "-1", 2048, 1536},
               {"99999", "700", 2048, 700},
               {"640", "480", 640, 480},
               {"abc", "100", 640, 100}};
  open();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.width) + "x" + c.height);
    desktop.clear();
    const int cursors = desktop.waitCursorShown;
    ctl<QLineEdit>(kWidthEdit)->setText(c.width);
    ctl<QLineEdit>(kHeightEdit)->setText(c.height);
    ctl<QPushButton>(kSizeButton)->click();
    EXPECT_EQ(ctl<QLineEdit>(kWidthEdit)->text(), QString::number(c.expectW));
    EXPECT_EQ(ctl<QLineEdit>(kHeightEdit)->text(), QString::number(c.expectH));
    ASSERT_EQ(desktop.sleeps.size(), 1u);
    EXPECT_EQ(desktop.sleeps[0].ms, 500);
    EXPECT_EQ(desktop.waitCursorShown, cursors + 1);
    EXPECT_EQ(desktop.waitCursorDepth, 0);
  }
  // The camera hears of the size only with the next capture.
  EXPECT_TRUE(sim.calls("SetTargetRect").empty());
}

TEST_F(PaintUsbTest, ScrollBarsOnlyForALargerFrameAtActualSize) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  window->show();
  auto* h = ctl<ReqScrollBar>(kHorizontalBar);
  auto* v = ctl<ReqScrollBar>(kVerticalBar);
  ctl<QPushButton>(kCaptureImageButton)->click();
  EXPECT_TRUE(h->isVisible());
  EXPECT_TRUE(v->isVisible());
  // The thumb's end is where the picture frame reaches the frame's edge.
  EXPECT_EQ(h->maximum(), 2048 - h->pageStep());
  ctl<QRadioButton>(kZoomRadio)->click();
  EXPECT_FALSE(h->isVisible());
  EXPECT_FALSE(v->isVisible());
  ctl<QRadioButton>(kOriginalRadio)->click();
  ctl<QLineEdit>(kWidthEdit)->setText("100");
  ctl<QLineEdit>(kHeightEdit)->setText("80");
  ctl<QPushButton>(kCaptureImageButton)->click();
  EXPECT_FALSE(h->isVisible());
  EXPECT_FALSE(v->isVisible());
}

TEST_F(PaintUsbTest, ActualSizeShowsTheFrameFromItsTopLeftAndScrolls) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  ctl<QPushButton>(kCaptureImageButton)->click();
  const QImage& pic = window->picture();
  EXPECT_EQ(pic.pixel(0, 0), framePixel(0, 0));
  EXPECT_EQ(pic.pixel(37, 11), framePixel(37, 11));
  // Thumb and line requests move the source by their own amounts.
  ctl<ReqScrollBar>(kHorizontalBar)->request(SbThumbTrack, 100);
  ctl<ReqScrollBar>(kVerticalBar)->request(SbLineRight);
  EXPECT_EQ(ctl<ReqScrollBar>(kHorizontalBar)->value(), 100);
  EXPECT_EQ(ctl<ReqScrollBar>(kVerticalBar)->value(), 2);
  EXPECT_EQ(pic.pixel(0, 0), framePixel(100, 2));
  // The test picture differs there, so the comparisons tell positions apart.
  EXPECT_NE(framePixel(0, 0), framePixel(100, 2));
  EXPECT_NE(framePixel(2047, 2), framePixel(0, 2));
  // The end goes to the camera's maximum width, held to the bar's range.
  ctl<ReqScrollBar>(kHorizontalBar)->request(SbRight);
  EXPECT_EQ(ctl<ReqScrollBar>(kHorizontalBar)->value(), ctl<ReqScrollBar>(kHorizontalBar)->maximum());
  EXPECT_EQ(pic.pixel(pic.width() - 1, 0), framePixel(2047, 2));
  ctl<ReqScrollBar>(kHorizontalBar)->request(SbLeft);
  EXPECT_EQ(ctl<ReqScrollBar>(kHorizontalBar)->value(), 0);
}

TEST_F(PaintUsbTest, ScreenSizeStretchesTheWholeFrame) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  ctl<QRadioButton>(kZoomRadio)->click();
  const QImage& pic = window->picture();
  const int w = pic.width(), h = pic.height();
  EXPECT_EQ(pic.pixel(0, 0), framePixel(0, 0));
  EXPECT_EQ(pic.pixel(w - 1, h - 1), framePixel((w - 1) * 2048 / w, (h - 1) * 1536 / h));
}

TEST_F(PaintUsbTest, SavesTheFrameAsBmpOrPng) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  QTemporaryDir dir;
  const QString bmpPath = dir.filePath("frame.bmp");
  desktop.fileNames.push_back(bmpPath);
  ctl<QPushButton>(kSaveImageButton)->click();
  EXPECT_TRUE(desktop.messages.empty()) << desktop.texts().join("|").toStdString();
  EXPECT_EQ(QFileInfo(bmpPath).size(), 14 + 40 + 1024 + 2048 * 1536);
  QImageReader reader(bmpPath);
  const QImage saved = reader.read();
  ASSERT_EQ(saved.size(), QSize(2048, 1536));
  EXPECT_EQ(saved.pixel(5, 7), framePixel(5, 7));

  const QString pngPath = dir.filePath("frame.png");
  desktop.fileNames.push_back(pngPath);
  ctl<QPushButton>(kSaveImageButton)->click();
  QImageReader png(pngPath);
  EXPECT_EQ(png.format(), "png");
  EXPECT_EQ(png.read().pixel(5, 7), framePixel(5, 7));
}

TEST_F(PaintUsbTest, SavingWithoutAFrameSaysSoAndLeavesNoFile) {
  struct Case {
    int32_t language;
    QString text;  // said once, in the window's language
  } cases[] = {{9, "there is no frame to save"}, {2, QString::fromUtf8("图像未能保存：没有可保存的图像")}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    open("219660", c.language);
    QTemporaryDir dir;
    const QString path = dir.filePath("none.bmp");
    desktop.fileNames.push_back(path);
    ctl<QPushButton>(kSaveImageButton)->click();
    EXPECT_EQ(desktop.texts(), QStringList{c.text});
    EXPECT_FALSE(QFileInfo::exists(path));
    window.reset();
    CameraLibrary::instance().closeCamera(cameraState().handle);
    cameraState().handle = nullptr;
  }
}

TEST_F(PaintUsbTest, FileThatCannotBeCreatedShowsError) {
  open();
  ASSERT_TRUE(window->openGrab(nullptr));
  desktop.fileNames.push_back("/nonexistent-folder/frame.bmp");
  ctl<QPushButton>(kSaveImageButton)->click();
  EXPECT_EQ(desktop.texts(), QStringList{"error!"});
  // A cancelled dialog does nothing.
  desktop.clear();
  ctl<QPushButton>(kSaveImageButton)->click();
  EXPECT_TRUE(desktop.messages.empty());
}
