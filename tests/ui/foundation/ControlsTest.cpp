#include <gtest/gtest.h>

#include <QLabel>
#include <QVBoxLayout>

#include "ui/UiTestSupport.h"
#include "ui/foundation/CheckboxBox.h"
#include "ui/foundation/HoverScaleEffect.h"
#include "ui/foundation/OlvaneCheckbox.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/ThemedTextField.h"

namespace olvane::ui {
namespace {

TEST(OlvaneCheckbox, OnlyTheBoxToggles) {
    auto* label = new QLabel(QStringLiteral("Exception vidéo"));
    OlvaneCheckbox checkbox(label);
    checkbox.show();
    std::vector<bool> toggles;
    QObject::connect(&checkbox, &OlvaneCheckbox::toggled, [&](bool on) { toggles.push_back(on); });

    test::clickAt(label, QPoint(4, 4));
    EXPECT_FALSE(checkbox.isChecked());
    test::clickAt(checkbox.box(), QPoint(9, 9));
    EXPECT_TRUE(checkbox.isChecked());
    test::clickAt(checkbox.box(), QPoint(9, 9));
    EXPECT_EQ(toggles, (std::vector<bool>{true, false}));
    EXPECT_TRUE(checkbox.box()->hoverScale().isActive());
}

TEST(HoverScaleEffect, TheLiteEffectUsesItsFixedFactor) {
    QWidget widget;
    widget.resize(300, 300);
    widget.show();
    auto* effect = HoverScaleEffect::lite(&widget, 1.05);
    EXPECT_EQ(effect->targetScale(), 1.0);
    test::hover(&widget, true);
    EXPECT_EQ(effect->targetScale(), 1.05);
}

TEST(ThemedTextField, SubmitsOnReturnAndKeepsItsPlaceholder) {
    int submitted = 0;
    ThemedTextField field(QStringLiteral("Rechercher"), [&] { ++submitted; });
    field.setText(QStringLiteral("youtube.com"));
    Q_EMIT field.returnPressed();
    EXPECT_EQ(submitted, 1);
    EXPECT_EQ(field.placeholderText(), "Rechercher");
    EXPECT_FALSE(field.hasFrame());
}

TEST(RoundedShape, EachCornerTakesItsOwnRadius) {
    const QRectF rect(0, 0, 100, 60);
    // Top corners rounded, bottom corners square.
    const QPainterPath path = RoundedShape::continuous(rect, 8, 0, 0, 8);
    EXPECT_FALSE(path.contains(QPointF(0.5, 0.5)));
    EXPECT_FALSE(path.contains(QPointF(99.5, 0.5)));
    EXPECT_TRUE(path.contains(QPointF(0.5, 59.5)));
    EXPECT_TRUE(path.contains(QPointF(99.5, 59.5)));
    EXPECT_TRUE(path.contains(QPointF(50, 0.5)));  // the straight edge between them
    // Radii larger than the rectangle allows are limited, never inverted.
    EXPECT_TRUE(RoundedShape::continuous(rect, 500).contains(rect.center()));
}

TEST(ControlsPicture, CheckboxesAndTextField) {
    QWidget sheet;
    auto* column = new QVBoxLayout(&sheet);
    auto* on = new OlvaneCheckbox(new QLabel(QStringLiteral("Activé")));
    on->setChecked(true);
    column->addWidget(on);
    column->addWidget(new OlvaneCheckbox(new QLabel(QStringLiteral("Désactivé"))));
    column->addWidget(new ThemedTextField(QStringLiteral("Ajouter un site")));
    sheet.setStyleSheet(QStringLiteral("background: white;"));
    sheet.resize(240, 120);
    sheet.show();
    EXPECT_TRUE(test::saveArtefact(sheet, "controls"));
}

}  // namespace
}  // namespace olvane::ui
