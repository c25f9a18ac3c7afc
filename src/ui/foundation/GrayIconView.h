#pragma once

#include <QImage>
#include <QWidget>
#include <optional>
#include <string>

namespace olvane::ui {

// An application's or a site's icon in a fixed square: fitted with its proportions, in shades of
// grey with its transparency kept; a black symbol in its place while there is none.
class GrayIconView final : public QWidget {
    Q_OBJECT

  public:
    GrayIconView(int side, std::string placeholder, qreal placeholderSize,
                 QWidget* parent = nullptr);

    // None (or a null image) shows the placeholder.
    void setImage(const std::optional<QImage>& image);
    bool hasImage() const { return !image_.isNull(); }
    // The picture drawn, already grey.
    const QImage& image() const { return image_; }
    const std::string& placeholder() const { return placeholder_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string placeholder_;
    qreal placeholderSize_;
    QImage image_;
};

}  // namespace olvane::ui
