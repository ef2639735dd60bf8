#pragma once
// The round lamp of an LED control.

#include <QWidget>

namespace qtfe {

class LedWidget final : public QWidget {
  public:
    explicit LedWidget(QWidget* parent);
    void SetLit(bool lit);
    bool Lit() const { return lit_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool lit_ = false;
};

}  // namespace qtfe
