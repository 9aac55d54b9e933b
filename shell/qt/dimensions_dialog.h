// The dialog "Maße": one line per dimension of the mechanism on screen
// (shell/dimension_fields.h), a line for what is wrong, OK and Abbrechen.
// OK applies the typed values only when all of them are right; otherwise the
// dialog stays open and says which value is wrong and why.
#pragma once

#include <QtWidgets/QDialog>
#include <optional>
#include <vector>

#include "shell/dimension_fields.h"

class QLabel;
class QLineEdit;

namespace pm {

class Form1;

class DimensionsDialog : public QDialog {
  Q_OBJECT
 public:
  DimensionsDialog(const Form1& form, QWidget* parent = nullptr);

  // The set-up the typed values give, once OK found them right.
  const std::optional<Setup>& setup() const { return result_; }
  // The field of a key ("a", "crankAngle"), for tests; nullptr if not shown.
  QLineEdit* field(const std::string& key) const;
  QString problem() const;

  void accept() override;

 private:
  const Form1& form_;
  std::vector<DimensionField> fields_;
  std::vector<QLineEdit*> edits_;
  QLabel* problem_ = nullptr;
  std::optional<Setup> result_;
};

}  // namespace pm
