#pragma once
// The About box: the product banner, the version, the publisher's logo, a button
// that opens the publisher's web site, and OK. Created for each showing.

#include <QDialog>

namespace arkivo {

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void Button2Click();
};

}  // namespace arkivo
