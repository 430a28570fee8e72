// serial_dialog_test.cpp - the "Select a serial device" dialog of clSerialInit.

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cstdlib>
#include <functional>

#include "clser_fixture.h"

namespace {

QStringList itemsOf(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
  return items;
}

QComboBox* box(QDialog& d, int id) {
  return d.findChild<QComboBox*>(QStringLiteral("ctl%1").arg(id));
}

class DialogTest : public ClserTest {
 protected:
  // Opens board 0 in standard mode with `run` acting as the person at the
  // dialog, and returns the reference.
  void* openWith(std::function<void(QDialog&)> run) {
    clser::testing::setDialogRunner([this, run](QDialog& d) {
      ++dialogsShown;
      run(d);
      return d.result();
    });
    void* slot = slotWithSwitch(0);
    EXPECT_EQ(clSerialInit(0, &slot), CL_ERR_NO_ERR);
    EXPECT_EQ(dialogsShown, 1);
    return slot;
  }

  static std::vector<ParamSet> applied(void* ref, int32_t channel, int32_t baud, int32_t dataBits,
                                       int32_t stop, int32_t parity) {
    return {{ref, 0, channel},  {ref, 0, -1},       {ref, 1, baud},     {ref, 1, baud},
            {ref, 1, -1},       {ref, 2, dataBits}, {ref, 2, dataBits}, {ref, 2, -1},
            {ref, 3, stop},     {ref, 4, parity}};
  }
};

TEST_F(DialogTest, ShowsTextsListsAndDefaults) {
  void* ref = openWith([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Select a serial device");
    EXPECT_TRUE(d.isModal());
    EXPECT_EQ(d.parent(), nullptr);
    QStringList groups;
    for (auto* g : d.findChildren<QGroupBox*>()) groups << g->title();
    EXPECT_EQ(groups, (QStringList{"Description", "Setting"}));
    EXPECT_EQ(d.findChild<QLabel*>("ctl1001")->text(), "Product: TYX-CL6301 Camera Link");
    EXPECT_EQ(d.findChild<QLabel*>("ctl1002")->text(), "System: 0");
    EXPECT_EQ(d.findChild<QPushButton*>("ctl1")->text(), "OK");
    QStringList labels;
    for (auto* l : d.findChildren<QLabel*>())
      if (l->objectName().isEmpty()) labels << l->text();
    EXPECT_EQ(labels, (QStringList{"Channel:", "Baud Rate:", "Data bits:", "Stop bits:", "Parity:"}));

    struct Expect {
      int id;
      QStringList items;
      QString shown;
    } expects[] = {
        {1007, {"0", "1"}, "0"},
        {1006,
         {"600", "1200", "1800", "2400", "3600", "4800", "7200", "9600", "14400", "19200", "28800",
          "38400", "57600", "76200"},
         "9600"},
        {1008, {"8", "9"}, "8"},
        {1010, {"1", "1.5", "2"}, "1"},
        {1009, {"None", "Odd", "Even"}, "None"},
    };
    for (const auto& e : expects) {
      QComboBox* b = box(d, e.id);
      ASSERT_NE(b, nullptr) << e.id;
      EXPECT_TRUE(b->isEditable()) << e.id;
      EXPECT_EQ(itemsOf(b), e.items) << e.id;
      EXPECT_EQ(b->currentText(), e.shown) << e.id;
    }
    d.findChild<QPushButton*>("ctl1")->click();
    EXPECT_EQ(d.result(), 1);
  });
  EXPECT_EQ(paramSets(), applied(ref, 0, 9600, 8, 1, 0));
  clSerialClose(ref);
}

struct EditCase {
  const char* name;
  const char* channel;
  const char* baud;
  const char* dataBits;
  const char* stop;
  const char* parity;
  std::array<int32_t, 5> values;
};

class DialogEdits : public DialogTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(DialogEdits, OkAppliesTheShownTexts) {
  const EditCase& c = GetParam();
  void* ref = openWith([&c](QDialog& d) {
    box(d, 1007)->setCurrentText(c.channel);
    box(d, 1006)->setCurrentText(c.baud);
    box(d, 1008)->setCurrentText(c.dataBits);
    box(d, 1010)->setCurrentText(c.stop);
    box(d, 1009)->setCurrentText(c.parity);
    d.findChild<QPushButton*>("ctl1")->click();
  });
  const auto& v = c.values;
  EXPECT_EQ(paramSets(), applied(ref, v[0], v[1], v[2], v[3], v[4]));
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialogEdits,
    ::testing::Values(
        EditCase{"ListChoices", "1", "57600", "9", "2", "Even", {1, 57600, 9, 2, 2}},
        EditCase{"TypedRate", "0", "115200", "8", "1", "Odd", {0, 115200, 8, 1, 1}},
        // Stop bits pass as the leading number of the box, so "1.5" is 1.
        EditCase{"OneAndAHalfStop", "0", "9600", "8", "1.5", "None", {0, 9600, 8, 1, 0}},
        EditCase{"NoLeadingDigits", "x1", "fast", " 8", "two", "odd", {0, 0, 0, 0, 0}},
        EditCase{"DigitsThenText", "1st", "9600bps", "8N1", "2 bits", "Even ", {1, 9600, 8, 2, 0}},
        EditCase{"OverflowSaturates", "99999999999", "4294967295", "8", "1", "None",
                 {INT32_MAX, INT32_MAX, 8, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, VeryLongParityIsCutNotOverrun) {
  const QString longParity = QString("Odd") + QString(500, 'd');
  void* ref = openWith([&](QDialog& d) {
    box(d, 1009)->setCurrentText(longParity);
    d.accept();
  });
  EXPECT_EQ(paramSets().back(), (ParamSet{ref, 4, 0}));
  clSerialClose(ref);
}

class DialogEnds : public DialogTest,
                   public ::testing::WithParamInterface<std::pair<const char*, void (*)(QDialog&)>> {};

TEST_P(DialogEnds, CancelAndCloseApplyTheSameWayWithResultOne) {
  int result = -1;
  void* ref = openWith([&](QDialog& d) {
    box(d, 1006)->setCurrentText("19200");
    GetParam().second(d);
    result = d.result();
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(paramSets(), applied(ref, 0, 19200, 8, 1, 0));  // once, not twice
  clSerialClose(ref);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DialogEnds,
    ::testing::Values(std::make_pair("Escape", +[](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }),
                      std::make_pair("CloseBox", +[](QDialog& d) {
                        d.show();  // only a shown window has a close box
                        d.close();
                      }),
                      std::make_pair("RejectThenClose", +[](QDialog& d) {
                        d.reject();
                        d.close();
                      })),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(DialogTest, LongBoardNameIsCutToNinetyCharacters) {
  const std::string name(115, 'N');
  ASSERT_EQ(tyxSim64Control(("boards 6301:" + name).c_str()), 1);
  QString product;
  void* ref = openWith([&](QDialog& d) {
    product = d.findChild<QLabel*>("ctl1001")->text();
    d.accept();
  });
  EXPECT_EQ(product, QString("Product: ") + QString(81, 'N'));
  clSerialClose(ref);
}

TEST_F(DialogTest, UsesTheNameOfTheIndexedBoard) {
  ASSERT_EQ(tyxSim64Control("boards 6250:refused|6150:Second board"), 1);
  QString product;
  clser::testing::setDialogRunner([&](QDialog& d) {
    product = d.findChild<QLabel*>("ctl1001")->text();
    return 1;
  });
  void* slot = slotWithSwitch(0);
  ASSERT_EQ(clSerialInit(1, &slot), CL_ERR_NO_ERR);
  EXPECT_EQ(product, "Product: Second board");
  clSerialClose(slot);
}

TEST_F(DialogTest, WithoutADisplayTheShownDefaultsApplyAndStderrSaysSoOnce) {
  clser::testing::setDialogRunner({});  // as in a real host
  // Tests run on the offscreen platform, where no one could answer a window.
  ASSERT_EQ(QGuiApplication::platformName().isEmpty() ? qgetenv("QT_QPA_PLATFORM")
                                                      : QGuiApplication::platformName().toUtf8(),
            "offscreen");
  ::testing::internal::CaptureStderr();
  void* first = slotWithSwitch(0);
  ASSERT_EQ(clSerialInit(0, &first), CL_ERR_NO_ERR);
  void* second = slotWithSwitch(0);
  ASSERT_EQ(clSerialInit(0, &second), CL_ERR_NO_ERR);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("Select a serial device"), std::string::npos) << err;
  EXPECT_EQ(err.find("Select a serial device"), err.rfind("Select a serial device")) << err;
  std::vector<ParamSet> expected = applied(first, 0, 9600, 8, 1, 0);
  for (const ParamSet& p : applied(second, 0, 9600, 8, 1, 0)) expected.push_back(p);
  EXPECT_EQ(paramSets(), expected);
  clSerialClose(first);
  clSerialClose(second);
}

}  // namespace
