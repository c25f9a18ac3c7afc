#include <gtest/gtest.h>

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/UiTestSupport.h"
#include "ui/foundation/PageFooter.h"
#include "ui/foundation/PageFooterLink.h"
#include "ui/foundation/SectionCard.h"
#include "ui/foundation/SectionCardFlush.h"
#include "ui/foundation/SectionHeaderLabel.h"

namespace olvane::ui {
namespace {

QImage imageOf(QWidget& widget) {
    return widget.grab().toImage();
}

// A block that paints itself black edge to edge.
class BlackBlock final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::black); }
};

TEST(SectionCardFlush, CutsTheContentAtItsCornersAndOutlinesIt) {
    SectionCardFlush card(new BlackBlock());
    card.resize(200, 100);
    card.show();
    const QImage image = imageOf(card);
    EXPECT_EQ(image.pixelColor(0, 0), Qt::white);  // the rounded corner cuts the content
    EXPECT_EQ(image.pixelColor(1, 98), Qt::white);
    EXPECT_EQ(image.pixelColor(100, 50), Qt::black);  // the content reaches its edges
    card.content()->hide();
    const QImage empty = imageOf(card);
    EXPECT_EQ(empty.pixelColor(100, 0), Qt::black);  // the outline
    EXPECT_EQ(empty.pixelColor(100, 50), Qt::white);

    SectionCard padded(new BlackBlock());
    padded.resize(200, 100);
    padded.show();
    EXPECT_EQ(imageOf(padded).pixelColor(10, 50), Qt::white);  // the 20-point margin
    EXPECT_EQ(padded.content()->geometry(), QRect(20, 20, 160, 60));
}

TEST(SectionHeaderLabel, ShowsAnyCaseInCapitals) {
    std::unique_ptr<QLabel> mixed(sectionHeaderLabel(QStringLiteral("Réglages généraux")));
    std::unique_ptr<QLabel> upper(sectionHeaderLabel(QStringLiteral("RÉGLAGES GÉNÉRAUX")));
    for (QLabel* label : {mixed.get(), upper.get()}) {
        label->resize(label->sizeHint());
    }
    EXPECT_EQ(mixed->sizeHint(), upper->sizeHint());
    EXPECT_EQ(imageOf(*mixed), imageOf(*upper));
}

TEST(PageFooter, ItsLinksLeadNowhereAndStillGrow) {
    PageFooter footer;
    footer.resize(800, 100);
    footer.show();
    QStringList labels;
    for (auto* link : footer.links()) {
        labels << link->label();
        link->click();  // nothing to observe, nothing must break
        test::hover(link, true);
        EXPECT_GT(link->hoverScale().targetScale(), 1.0);
    }
    EXPECT_EQ(labels, QStringList({"Signaler un bug", "Proposer une amélioration",
                                   "Remercier avec un don"}));
}

}  // namespace
}  // namespace olvane::ui
