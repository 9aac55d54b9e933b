#include "shell/qt/dimensions_dialog.h"

#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "shell/form1.h"

namespace pm {

DimensionsDialog::DimensionsDialog(const Form1& form, QWidget* parent)
    : QDialog(parent), form_(form), fields_(dimensionFields(form)) {
  setWindowTitle(QStringLiteral("Maße"));
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      QStringLiteral("Längen in mm (1 mm = eine Zeichnungseinheit bei Zoom 1), Winkel in Grad, "
                     "wie die Messwerte sie angeben."),
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  auto* form_layout = new QFormLayout;
  for (const DimensionField& f : fields_) {
    auto* edit = new QLineEdit(QString::fromStdString(f.text), this);
    edit->setObjectName(QString::fromStdString(f.key));
    edit->setAlignment(Qt::AlignRight);
    form_layout->addRow(QString::fromStdString(f.label + " [" + f.unit + "]"), edit);
    edits_.push_back(edit);
  }
  layout->addLayout(form_layout);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("problem"));
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  layout->addWidget(problem_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
  connect(buttons, &QDialogButtonBox::accepted, this, &DimensionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &DimensionsDialog::reject);
  layout->addWidget(buttons);
}

QLineEdit* DimensionsDialog::field(const std::string& key) const {
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].key == key) return edits_[i];
  return nullptr;
}

QString DimensionsDialog::problem() const { return problem_->text(); }

void DimensionsDialog::accept() {
  std::vector<DimensionField> typed = fields_;
  for (std::size_t i = 0; i < typed.size(); ++i) typed[i].text = edits_[i]->text().toStdString();
  std::string message;
  result_ = checkDimensions(form_, typed, message);
  if (!result_) {
    problem_->setText(QString::fromStdString(message));
    return;  // stays open, nothing applied
  }
  QDialog::accept();
}

}  // namespace pm
