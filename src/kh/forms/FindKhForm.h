#pragma once

#include "search/forms/FindForms.h"

namespace rur::kh {

// "Vyhledávání" in the register of documents: on every change of the text the register moves
// to the first row from the current one on whose document number or DIČ contains it.
class TFindKhForm : public search::FindForm {
    Q_OBJECT

public:
    explicit TFindKhForm(vat::WindowContext ctx, QWidget *parent = nullptr);
};

// F3 of "Kontrolní hlášení": the window made, shown modally and destroyed.
void findInRegister(const vat::WindowContext &ctx, QWidget *parent);

}  // namespace rur::kh
