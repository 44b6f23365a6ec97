#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace scorvane {

// The preview of a font dialog: a sample text centred in the chosen font on a white ground.
class FontPreview : public QWidget {
  public:
    FontPreview(const QString& sample, QWidget* parent);

    void setPreviewFont(const QFont& font);
    const QFont& previewFont() const { return font_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString sample_;
    QFont font_;
};

}  // namespace scorvane
