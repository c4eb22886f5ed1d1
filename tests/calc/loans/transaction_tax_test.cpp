#include "calc/loans/transaction_tax.h"

#include <gtest/gtest.h>

namespace qh {
namespace {

TransactionTaxInputs Sale(bool ordinary, bool certOver5, const char* area, const char* priceWan) {
    TransactionTaxInputs in;
    in.ordinary = ordinary;
    in.certOver5 = certOver5;
    in.area = area;
    in.price = {priceWan, kAmountUnitWan};
    return in;
}

TEST(TransactionTaxTest, OrdinaryOldCertificateSmallHomePaysOnlyDeedTax) {
    EXPECT_EQ(TransactionTaxResults(Sale(true, true, "89", "100")).valueText,
              "10,000.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n0.00 元\r\n\r\n"
              "0.00 元\r\n\r\n10,000.00 元");
}

TEST(TransactionTaxTest, OrdinaryNewCertificatePaysEveryTax) {
    const TransactionTaxResult r = TransactionTaxResults(Sale(true, false, "120", "200"));
    EXPECT_EQ(r.valueText,
              "30,000.00 元\r\n\r\n111,000.00 元\r\n\r\n7,770.00 元\r\n\r\n3,330.00 元\r\n\r\n"
              "20,000.00 元\r\n\r\n0.00 元\r\n\r\n172,100.00 元");
}

TEST(TransactionTaxTest, NonOrdinaryIgnoresTheArea) {
    for (const char* area : {"", "50", "200", "abc"}) {
        const TransactionTaxResult r = TransactionTaxResults(Sale(false, true, area, "300"));
        EXPECT_EQ(r.deed, 90000);
        EXPECT_EQ(r.total, 90000);
    }
    EXPECT_EQ(TransactionTaxResults(Sale(false, false, "", "100")).valueText,
              "30,000.00 元\r\n\r\n55,500.00 元\r\n\r\n3,885.00 元\r\n\r\n1,665.00 元\r\n\r\n"
              "10,000.00 元\r\n\r\n0.00 元\r\n\r\n101,050.00 元");
}

TEST(TransactionTaxTest, NinetySquareMetresTakesTheHigherDeedRate) {
    EXPECT_EQ(TransactionTaxResults(Sale(true, true, "90", "100")).deed, 15000);
    EXPECT_EQ(TransactionTaxResults(Sale(true, true, "89.99", "100")).deed, 10000);
    // An empty area reads as 0, below 90.
    EXPECT_EQ(TransactionTaxResults(Sale(true, true, "", "100")).deed, 10000);
}

TEST(TransactionTaxTest, EmptyPriceGivesZeroForEveryAmount) {
    const TransactionTaxResult r = TransactionTaxResults(Sale(true, false, "100", ""));
    EXPECT_EQ(r.total, 0);
    EXPECT_EQ(r.valueText.substr(r.valueText.rfind('\n') + 1), "0.00 元");
}

}  // namespace
}  // namespace qh
