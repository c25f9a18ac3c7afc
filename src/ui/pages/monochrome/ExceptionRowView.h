#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace olvane::ui {

class ExceptionDeleteButton;

// One row of an exception list, 44 points high: its icon in a 24-point square (an image
// stretched to it, else a black symbol), its text, and the delete button; under it a faint
// line, transparent on the last row.
class ExceptionRowView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHeight = 44;
    static constexpr int kIconSide = 24;
    static constexpr qreal kSymbolSize = 20;

    ExceptionRowView(std::string fallbackSymbol, const std::string& entry, bool isLast,
                     std::function<void(const std::string&)> onDelete, QWidget* parent = nullptr);

    QString text() const;
    bool isLast() const { return isLast_; }
    void setLast(bool last);
    // The image shown instead of the symbol, once the row has one.
    const std::optional<QImage>& image() const;
    ExceptionDeleteButton* deleteButton() const { return delete_; }
    // The separator's opacity: 0 on the last row.
    qreal separatorOpacity() const;

  protected:
    void setText(const QString& text);
    void setImage(const QImage& image);
    void paintEvent(QPaintEvent* event) override;

  private:
    class Icon;
    class Text;

    Icon* icon_;
    Text* text_;
    ExceptionDeleteButton* delete_;
    bool isLast_;
};

}  // namespace olvane::ui
