#pragma once
// A raised panel that can draw a centred caption under its children and fill itself with a
// colour, as the window's bars and page panels look.
#include <QColor>
#include <QFrame>
#include <QString>

namespace qor::window {

class Panel : public QFrame {
public:
    explicit Panel(const QString& objectName, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    // The panel's own colour; without one it takes the window's button face.
    void setColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

}  // namespace qor::window
