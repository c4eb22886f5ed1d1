// The taxes on the sale of a second-hand home: 契税, 营业税, 城建税,
// 教育附加费, 个人所得税 and 印花税, from the price, the area, whether the
// home is ordinary housing and whether its certificate is five years old.
#pragma once

#include "calc/loans/loan_pages.h"

namespace qh {

struct TransactionTaxInputs {
    bool ordinary = true;     // HouseOrdinary 普通住宅, else 非普通住宅
    bool certOver5 = true;    // CertOver5 已满5年, else 未满5年
    Text area;                // TaxAreaEdit
    AmountInput price;        // TaxPriceEdit, TaxPriceUnit
};

struct TransactionTaxResult {
    double deed = 0;              // 契税
    double business = 0;          // 营业税
    double cityConstruction = 0;  // 城建税
    double education = 0;         // 教育附加费
    double incomeTax = 0;         // 个人所得税
    double stampDuty = 0;         // 印花税
    double total = 0;             // 税费总计
    // The seven lines beside kTaxRowLabels, each "x 元", separated by a
    // blank line.
    Text valueText;
};

TransactionTaxResult TransactionTaxResults(const TransactionTaxInputs& in);

}  // namespace qh
