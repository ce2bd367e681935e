#pragma once

#include "util/colour.h"

#include <QWidget>

namespace varelo {

// A lamp of the tag data window: a small square with rounded corners, filled
// with its colour and outlined in black.
class LedShape : public QWidget {
    Q_OBJECT

  public:
    explicit LedShape(QWidget* parent = nullptr, Colour colour = colours::Silver);

    Colour colour() const { return colour_; }
    void setColour(Colour colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Colour colour_;
};

}  // namespace varelo
