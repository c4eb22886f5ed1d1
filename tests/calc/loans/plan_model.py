#!/usr/bin/env python3
"""An independent model of the repayment plan, written from the bank rules
(not from the C++ engine), that gives the figures repayment_plan_test.cpp
expects. Interest is exact rational arithmetic; the annuity uses Python's
own floats. Run it to print each case's figures:

    python3 tests/calc/loans/plan_model.py
"""
from fractions import Fraction
import math

# 5-year-plus LPR fixings (date, percent).
LPR = [((2019, 8, 20), "4.85"), ((2019, 9, 20), "4.85"), ((2019, 11, 20), "4.80"), ((2020, 2, 20), "4.75"),
       ((2020, 4, 20), "4.65"), ((2021, 12, 20), "4.65"), ((2022, 1, 20), "4.60"), ((2022, 5, 20), "4.45"),
       ((2022, 8, 22), "4.30"), ((2023, 6, 20), "4.20"), ((2023, 8, 21), "4.20"), ((2024, 2, 20), "3.95"),
       ((2024, 7, 22), "3.85"), ((2024, 10, 21), "3.60"), ((2025, 5, 20), "3.50")]


def half_up(x):
    return math.floor(x + Fraction(1, 2))


def lpr_for(year, month):
    """The fixing published before the month's first day."""
    value = LPR[0][1]
    for (y, m, d), v in LPR:
        if (y, m, d) < (year, month, 1):
            value = v
    return Fraction(value)


def annuity(balance, rate, n):
    if rate == 0:
        return half_up(Fraction(balance, n))
    r = float(rate) / 1200
    g = (1 + r) ** n
    return math.floor(balance * r * g / (g - 1) + 0.5)


def plan(principal, months, method, first, rate=None, lpr_bp=None, events=(), reprice="1月1日"):
    """events: ("prepay", n, amount_fen, "减少月供"|"缩短年限") or ("rate", n, percent); under LPR
    pricing a rate event is the LPR forecast from its month on."""
    year, month = first
    forecasts = []  # (month index, lpr)

    def month_of(n):
        i = year * 12 + month - 1 + n - 1
        return i // 12, i % 12 + 1

    if lpr_bp is not None:
        y, m = month_of(0)
        rate = lpr_for(y, m) + Fraction(lpr_bp, 100)
    rate = Fraction(rate)
    balance, left = principal, months
    pay = annuity(balance, rate, left) if method == "等额本息" else None
    part = half_up(Fraction(balance, left)) if method == "等额本金" else None
    rows = []
    n = 0
    while balance > 0:
        n += 1
        y, m = month_of(n)
        new_rate = None
        lookup = None
        if lpr_bp is not None and n > 1:
            if reprice == "1月1日" and m == 1:
                lookup = (y, m)
            elif reprice == "对月对日" and (n - 1) % 12 == 0:
                lookup = month_of(n - 1)
        if lookup is not None:
            known = [f for f in forecasts if f[0] <= lookup[0] * 12 + lookup[1]]
            base = known[-1][1] if known else lpr_for(*lookup)
            new_rate = base + Fraction(lpr_bp, 100)
        for e in events:
            if e[0] == "rate" and e[1] == n:
                new_rate = Fraction(e[2])
                if lpr_bp is not None:
                    forecasts.append((y * 12 + m, Fraction(e[2])))
                    new_rate += Fraction(lpr_bp, 100)
        if new_rate is not None and new_rate != rate:
            rate = new_rate
            if method == "等额本息":
                pay = annuity(balance, rate, left)
        interest = half_up(balance * rate / 1200)
        principal_part = pay - interest if method == "等额本息" else part
        if left == 1 or principal_part >= balance:
            principal_part = balance
        balance -= principal_part
        left -= 1
        prepaid = 0
        for e in events:
            if e[0] == "prepay" and e[1] == n and balance > 0:
                amount = min(e[2], balance)
                prepaid += amount
                balance -= amount
                if balance == 0:
                    break
                if e[3] == "减少月供":
                    if method == "等额本息":
                        pay = annuity(balance, rate, left)
                    else:
                        part = half_up(Fraction(balance, left))
                elif method == "等额本息":
                    m2 = 1
                    while annuity(balance, rate, m2) > pay:
                        m2 += 1
                    left = m2
                    pay = annuity(balance, rate, left)
                else:
                    left = -(-balance // part)
        rows.append((n, principal_part + interest, principal_part, interest, balance, prepaid, rate))
    return rows


def show(name, rows, picks=()):
    interest = sum(r[3] for r in rows)
    print(f"{name}: rows={len(rows)} first={rows[0][1]} last={rows[-1][1]} interest={interest}",
          " ".join(f"#{p}={rows[p - 1][1]}" for p in picks))


if __name__ == "__main__":
    loan = 100_000_000  # 1,000,000.00 yuan in fen
    for method in ("等额本息", "等额本金"):
        show(method, plan(loan, 360, method, (2026, 1), rate="4.9"), (2, 37))
        for mode in ("减少月供", "缩短年限"):
            show(f"{method} prepay {mode}", plan(loan, 360, method, (2026, 1), rate="4.9",
                                                 events=[("prepay", 36, 20_000_000, mode)]), (36, 37))
        show(f"{method} rate change", plan(loan, 360, method, (2026, 1), rate="4.9",
                                           events=[("rate", 13, "4.2")]), (12, 13))
    show("LPR-45BP each January", plan(loan, 360, "等额本息", (2023, 3), lpr_bp=-45), (10, 11, 22, 23, 34, 35))
    show("paid off", plan(loan, 360, "等额本息", (2026, 1), rate="4.9", events=[("prepay", 24, 200_000_000, "缩短年限")]))
    show("zero rate", plan(100_000, 7, "等额本息", (2026, 1), rate="0"), (6, 7))
    show("zero rate 等额本金", plan(100_000, 7, "等额本金", (2026, 1), rate="0"), (6, 7))
    show("LPR-45BP anniversary", plan(loan, 360, "等额本息", (2023, 3), lpr_bp=-45, reprice="对月对日"),
         (12, 13, 24, 25, 36, 37))
    show("LPR forecast", plan(loan, 360, "等额本息", (2025, 3), lpr_bp=-45, events=[("rate", 20, "3.3")]),
         (10, 11, 19, 20, 22, 23))
    show("principal ends early", plan(15, 6, "等额本金", (2026, 1), rate="0"), (5,))
