#pragma once
// Keeps typed text inside what a text field can hold: no character that code page 950 lacks
// (it would be stored as "?"), and, with a size, no more bytes than the field takes (they would
// be cut off when stored).
#include <QValidator>

namespace qor::window {

class Cp950TextValidator : public QValidator {
public:
    explicit Cp950TextValidator(QObject* parent = nullptr) : QValidator(parent) {}

    void setMaxBytes(int bytes) { maxBytes_ = bytes; }  // 0: any length
    State validate(QString& input, int& pos) const override;

private:
    int maxBytes_ = 0;
};

}  // namespace qor::window
