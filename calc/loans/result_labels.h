// The headings and row labels that the results window paints beside the
// value texts. Rows are separated by a blank line, as the values are.
#pragma once

namespace qh {

inline constexpr const char* kInstallmentHeading = "每月等额还款";
inline constexpr const char* kPrincipalHeading = "逐月递减还款";
inline constexpr const char* kInstallmentRowLabels =
    "贷款总额:\r\n\r\n每月还款:\r\n\r\n总支付利息:\r\n\r\n本息合计:";
inline constexpr const char* kPrincipalRowLabels =
    "贷款总额:\r\n\r\n首月还款:\r\n\r\n每月递减:\r\n\r\n总支付利息:\r\n\r\n本息合计:";
inline constexpr const char* kTaxRowLabels =
    "契税:\r\n\r\n营业税:\r\n\r\n城建税:\r\n\r\n教育附加费:\r\n\r\n个人所得税:\r\n\r\n印花税:\r\n\r\n"
    "税费总计:";
// The current-law tax page's rows.
inline constexpr const char* kCurrentTaxRowLabels =
    "契税:\r\n\r\n增值税:\r\n\r\n附加税费:\r\n\r\n个人所得税:\r\n\r\n印花税:\r\n\r\n"
    "买方合计:\r\n\r\n卖方合计:\r\n\r\n税费总计:";
inline constexpr const char* kResultsNote = "以上结果仅供参考\r\n实际缴费应以当地为准";

}  // namespace qh
