// The fog drawn offscreen: the fast picture against the exact composition it stands for.
#include <gtest/gtest.h>

#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "ui/UiTestSupport.h"
#include "ui/effects/FogRenderer.h"
#include "ui/effects/FogShape.h"

namespace olvane::ui {
namespace {

constexpr double kOpacity = 0.98;

// The fog exactly as composed: white at the fog's opacity, and for each point a destination-out
// radial gradient (the point's opacity, half of it, nothing).
QImage exactFog(QSize size, double radius, const std::vector<TrailPoint>& trail) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), QColor::fromRgbF(1, 1, 1, float(kOpacity)));
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    for (const auto& point : trail) {
        const QPointF centre(point.position.x, point.position.y);
        QRadialGradient gradient(centre, radius);
        gradient.setColorAt(0, QColor::fromRgbF(0, 0, 0, float(point.opacity)));
        gradient.setColorAt(0.5, QColor::fromRgbF(0, 0, 0, float(point.opacity * 0.5)));
        gradient.setColorAt(1, Qt::transparent);
        painter.setPen(Qt::NoPen);
        painter.setBrush(gradient);
        painter.drawEllipse(centre, radius, radius);
    }
    return image;
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

// A pointer's path across the window, older points fainter.
std::vector<TrailPoint> wipedPath(int count) {
    std::vector<TrailPoint> trail;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / count;
        trail.push_back({{150 + 600 * t, 300 + 150 * std::sin(t * 6)}, 0, 0.2 + 0.8 * t});
    }
    return trail;
}

TEST(FogRenderer, HolesAreClearAtTheirCentreAndTheFogIsWholeBeyondTheirRadius) {
    FogRenderer renderer;
    const std::vector<TrailPoint> trail = {{{100, 100}, 0, 1.0}};
    renderer.render({400, 300}, 1.0, kOpacity, 50, trail);
    const QImage& picture = renderer.image();
    EXPECT_LE(alphaAt(picture, 100, 100), 20);
    EXPECT_NEAR(alphaAt(picture, 125, 100), std::lround(255 * kOpacity * 0.5), 8);
    EXPECT_EQ(alphaAt(picture, 160, 100), std::lround(255 * kOpacity));
    EXPECT_EQ(alphaAt(picture, 390, 290), std::lround(255 * kOpacity));
    EXPECT_EQ(qRed(picture.pixel(390, 290)), qAlpha(picture.pixel(390, 290))) << "white";
}

TEST(FogRenderer, LooksLikeTheExactCompositionOfSoftHoles) {
    const QSize size(960, 600);
    const auto trail = wipedPath(200);
    FogRenderer renderer;
    renderer.render(size, 1.0, kOpacity, 80, trail);
    const QImage exact = exactFog(size, 80, trail);
    double total = 0;
    int worst = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int difference = std::abs(alphaAt(renderer.image(), x, y) - alphaAt(exact, x, y));
            total += difference;
            worst = std::max(worst, difference);
        }
    }
    EXPECT_LT(total / (size.width() * size.height()), 1.0);
    // The largest differences lie along the wiped path's edge, where many holes end together
    // and the fog rises steeply within a pixel or two.
    EXPECT_LE(worst, 48);
    ASSERT_TRUE(test::saveArtefact(QPixmap::fromImage(renderer.image()), "fog-fast"));
    ASSERT_TRUE(test::saveArtefact(QPixmap::fromImage(exact), "fog-exact"));
}

TEST(FogRenderer, OnlyWhatChangedIsDrawnAgain) {
    FogRenderer renderer;
    const QSize size(1920, 1080);
    auto trail = wipedPath(50);
    EXPECT_EQ(renderer.render(size, 1.0, kOpacity, 150, trail), QRegion(0, 0, 1920, 1080));
    EXPECT_TRUE(renderer.render(size, 1.0, kOpacity, 150, trail).isEmpty());

    trail.push_back({{1700, 900}, 0, 1.0});
    const QRegion changed = renderer.render(size, 1.0, kOpacity, 150, trail);
    EXPECT_TRUE(changed.contains(QPoint(1700, 900)));
    EXPECT_FALSE(changed.contains(QPoint(300, 300)));
    EXPECT_LT(changed.boundingRect().width(), 600);

    // Filled in again: the hole's place is drawn again, as plain fog.
    trail.pop_back();
    EXPECT_TRUE(renderer.render(size, 1.0, kOpacity, 150, trail).contains(QPoint(1700, 900)));
    EXPECT_EQ(alphaAt(renderer.image(), 1700, 900), std::lround(255 * kOpacity));
}

TEST(FogShape, WithoutACompositorHardHolesAreCutWhereTheFogIsHalfClear) {
    const std::vector<TrailPoint> trail = {{{100, 100}, 0, 1.0}, {{300, 100}, 0, 0.5}};
    const QRegion shape = fogShapeWithHoles({400, 200}, 100, trail);
    EXPECT_FALSE(shape.contains(QPoint(100, 100)));
    EXPECT_FALSE(shape.contains(QPoint(140, 100)));
    EXPECT_TRUE(shape.contains(QPoint(160, 100)));
    EXPECT_TRUE(shape.contains(QPoint(300, 100))) << "a hole half filled in is gone";
    EXPECT_TRUE(shape.contains(QPoint(5, 195)));
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setClipRegion(shape);
    painter.fillRect(picture.rect(), Qt::white);
    painter.end();
    ASSERT_TRUE(test::saveArtefact(QPixmap::fromImage(picture), "fog-shape"));
}

}  // namespace
}  // namespace olvane::ui
