#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "ui/UiTestSupport.h"
#include "ui/foundation/SliderModel.h"
#include "ui/foundation/ThemedSlider.h"

namespace olvane::ui {
namespace {

const QLocale kFrench(QLocale::French, QLocale::France);
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

SliderModel fogModel(double value = 8.0) {
    return SliderModel({0.1, 60}, 0.1, 1, value, kFrench);
}

SliderModel delayModel(double value = 57.0) {
    return SliderModel({20, 500}, 1, 0, value, kFrench);
}

TEST(SliderModel, WritesValuesInTheFrenchLocale) {
    EXPECT_EQ(fogModel().format(8.0), "8,0");
    EXPECT_EQ(fogModel().format(1234.5), "1" + kFrench.groupSeparator() + "234,5");
    const std::pair<double, const char*> whole[] = {
        {57.0, "57"}, {1500, "1500"}, {20.9, "20"},
        {-0.5, "0"},  {-20.9, "-20"}, {1e20, "100000000000000000000"}};
    for (const auto& [value, text] : whole) {
        EXPECT_EQ(delayModel().format(value), QString::fromLatin1(text)) << value;
    }
}

TEST(SliderModel, DragsMapTheTrackWidthAndIgnoreATrackWithoutWidth) {
    const SliderModel model = delayModel();
    EXPECT_EQ(model.dragValue(100, 200), 260);
    EXPECT_EQ(model.dragValue(-30, 200), 20);
    EXPECT_EQ(model.dragValue(900, 200), 500);
    for (const double width : {0.0, -5.0, kNaN, kInfinity}) {
        EXPECT_EQ(model.dragValue(0, width), std::nullopt) << width;
    }
    EXPECT_EQ(model.dragValue(kNaN, 200), std::nullopt);

    SliderModel held = delayModel();
    EXPECT_FALSE(held.drag(10, 0));
    EXPECT_EQ(held.value(), 57);
}

TEST(SliderModel, TypedTextIsParsedInTheLocaleAndNeverGivesANonFiniteValue) {
    const SliderModel fog = fogModel();
    EXPECT_DOUBLE_EQ(*fog.typedValue("12,3"), 12.3);
    EXPECT_EQ(fog.typedValue("999"), 60);  // limited to the range
    const SliderModel delay = delayModel();
    EXPECT_EQ(delay.typedValue("1" + kFrench.groupSeparator() + "500"), 500);
    EXPECT_EQ(delay.typedValue("5"), 20);
    EXPECT_EQ(SliderModel({0, 5000}, 1, 0, 0, kFrench).typedValue("1 500"), 1500);
    for (const char* text : {"abc", "", "inf", "-inf", "nan", "NaN", "1e999"}) {
        EXPECT_EQ(fog.typedValue(QString::fromLatin1(text)), std::nullopt) << text;
    }
}

TEST(SliderModel, EditingKeepsTheTypedTextAndShowsTheHeldValueAtTheEnd) {
    SliderModel model = delayModel();
    model.beginEditing();
    EXPECT_EQ(model.text(), "57");
    EXPECT_TRUE(model.type("5"));
    EXPECT_EQ(model.value(), 20);
    EXPECT_EQ(model.text(), "5");
    EXPECT_TRUE(model.type("50"));
    EXPECT_FALSE(model.type("50x"));
    EXPECT_FALSE(model.type("nan"));
    EXPECT_EQ(model.value(), 50);
    model.setValue(70);  // from the caller, while editing: the text stays
    EXPECT_EQ(model.text(), "nan");
    model.endEditing();
    EXPECT_EQ(model.text(), "70");
}

TEST(ThemedSlider, OnlyTheThumbDragsAndTheBoxTurnsIntoAField) {
    QLocale::setDefault(kFrench);
    ThemedSlider slider(QStringLiteral("Opacité"), 20, {20, 500}, 1, QStringLiteral("%"));
    QLocale::setDefault(QLocale::c());
    slider.resize(400, 60);
    slider.show();
    std::vector<double> edits;
    QObject::connect(&slider, &ThemedSlider::valueEdited, [&](double v) { edits.push_back(v); });

    SliderTrack* track = slider.track();
    test::clickAt(track, QPoint(track->width() - 5, 9));  // on the rail, far from the thumb
    EXPECT_TRUE(edits.empty());
    const QPointF thumb = track->thumbRect().center();
    QMouseEvent press(QEvent::MouseButtonPress, thumb, track->mapToGlobal(thumb), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(track, &press);
    const QPointF far(track->width() + 50, 9);
    QMouseEvent move(QEvent::MouseMove, far, track->mapToGlobal(far), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(track, &move);
    EXPECT_EQ(slider.value(), 500);

    SliderValueBox* box = slider.valueBox();
    EXPECT_EQ(box->valueLabel()->text(), "500");
    test::clickAt(box, QPoint(3, 3));
    ASSERT_TRUE(box->field()->isVisibleTo(&slider));
    EXPECT_EQ(box->field()->text(), "500");
    box->field()->selectAll();
    for (const char letter : {'a', 'b'}) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A + (letter - 'a'), Qt::NoModifier,
                      QString(QChar(letter)));
        QCoreApplication::sendEvent(box->field(), &key);
    }
    EXPECT_EQ(box->field()->text(), "ab");
    EXPECT_EQ(slider.value(), 500);
    Q_EMIT box->field()->editingFinished();
    EXPECT_FALSE(box->field()->isVisibleTo(&slider));
    EXPECT_EQ(box->valueLabel()->text(), "500");
}

}  // namespace
}  // namespace olvane::ui
