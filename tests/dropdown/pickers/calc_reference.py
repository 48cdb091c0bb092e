#!/usr/bin/env python3
"""The calculator's display after each key sequence, worked out with
Python's decimal: the accumulator exact, every number the edit shows the
nearest double of it written with two decimals, ties to even (as the C
library's "%.2f" writes a double). One sequence a line in, one display a
line out. Keys: digits, ".", "+", "-", "*", "/", "=", "N" (+/-), "C", "%".
"""
import sys
from decimal import Decimal, getcontext, ROUND_HALF_EVEN, InvalidOperation

getcontext().prec = 60


def digits_of(v):
    """Fifteen significant digits of the double (correctly rounded), the
    trailing zeros dropped, and the decimal exponent of the first digit."""
    mantissa, exp = ("%.14e" % abs(v)).split("e")
    return mantissa.replace(".", "").rstrip("0"), int(exp) + 1


def shown(value):
    """The text SetFloatValue writes ("%.2f" of the class library): the
    double's fifteen significant digits rounded half up to two decimals; a
    result of nothing but zeros has no sign."""
    v = float(value)
    if v == 0:
        return "0.00"
    digits, exponent = digits_of(v)
    keep = exponent + 2
    if keep < 0:
        digits = ""
    elif keep < len(digits):
        up = digits[keep] >= "5"
        digits = digits[:keep]
        if up:
            n = int(digits or "0") + 1
            new = str(n).rjust(len(digits), "0") if digits else "1"
            if len(new) > len(digits):
                exponent += 1
            digits = new
    digits = digits.rstrip("0")
    if not digits:
        return "0.00"
    assert exponent <= 15, "beyond the fixed format"
    if exponent > 0:
        whole = digits[:exponent].ljust(exponent, "0")
        frac = digits[exponent:]
    else:
        whole = "0"
        frac = "0" * (-exponent) + digits
    return ("-" if v < 0 else "") + whole + "." + frac[:2].ljust(2, "0")


def general(value):
    """"%g" of the class library: up to fifteen significant digits, fixed."""
    v = float(value)
    if v == 0:
        return "0"
    digits, exponent = digits_of(v)
    assert exponent <= 15, "beyond the fixed format"
    if exponent < -3:
        # Written with an exponent, which the entry rules read as no
        # number: 0 either way.
        return "0"
    if exponent > 0:
        text = digits[:exponent].ljust(exponent, "0")
        if len(digits) > exponent:
            text += "." + digits[exponent:]
    else:
        text = "0." + "0" * (-exponent) + digits
    return ("-" if v < 0 else "") + text


def to_float(text):
    """The entry rules' reading: the number, 0 when the text is none."""
    try:
        if text in ("", "-") or text.count("-") > 1 or (text.count("-") == 1 and not text.startswith("-")):
            return Decimal(0)
        return Decimal(float(text))
    except (ValueError, InvalidOperation):
        return Decimal(0)


def set_text(text):
    """SetText of the float kind: the text's number with two decimals."""
    if text == "Error":
        return text
    if text == "":
        text = "0"
    return shown(to_float(text))


def run(keys):
    text = "0"
    acc = Decimal(0)
    pending = -1
    new_number = False
    divisor = 0

    def value_of(t):
        try:
            return True, Decimal(float(t))
        except ValueError:
            return False, Decimal(0)

    def evaluate():
        nonlocal text, acc, new_number
        if text in ("", "Error"):
            text = set_text("0")
        ok, a = value_of(text)
        if pending == 0:
            acc += a
        elif pending == 1:
            acc *= a
        elif pending == 2:
            acc -= a
        elif pending == 3:
            if a == 0:
                acc = Decimal(0)
                text = "Error"
                return
            acc /= a
        else:
            acc = a if ok else Decimal(0)
        text = shown(acc)
        new_number = True

    for k in keys:
        if k in "+-*/N=C%":
            if k != "N" or True:
                pass
        if k in "+-*/C=%":
            divisor = 0
        if k.isdigit():
            d = int(k)
            v = to_float(text) if text != "Error" else Decimal(0)
            if (v == 0 and divisor == 0) or new_number:
                text = set_text(k)
                new_number = False
            else:
                if divisor == 0:
                    v = v * 10 + d if v >= 0 else v * 10 - d
                else:
                    v = v + Decimal(d) / divisor if v >= 0 else v - Decimal(d) / divisor
                    divisor *= 10
                text = shown(v)
        elif k == "+":
            evaluate(); pending = 0
        elif k == "-":
            evaluate(); pending = 2
        elif k == "*":
            evaluate(); pending = 1
        elif k == "/":
            evaluate(); pending = 3
        elif k == "N":
            divisor = 0
            t = text[1:] if "-" in text else "-" + text
            text = set_text(t)
        elif k == ".":
            if "." not in text:
                text = set_text(text + ".")
            divisor = 10
            if new_number:
                text = set_text("0")
            new_number = False
        elif k == "C":
            text = set_text("0"); acc = Decimal(0); pending = -1
        elif k == "=":
            evaluate()
            if text == "":
                text = set_text("0")
            pending = -1
            if text != "Error":
                ok, s = value_of(text)
                if ok:
                    acc = s
        elif k == "%":
            if text in ("", "Error"):
                text = set_text("0")
            _, x = value_of(text)
            text = set_text(general(acc * x / 100))
    return text


def main():
    with open(sys.argv[1]) as f:
        for line in f:
            print(run(line.strip()))


if __name__ == "__main__":
    main()
