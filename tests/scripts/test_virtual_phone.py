"""The virtual phone decodes what a phone would: multi-tap presses by their spacing in time, alpha
entries in its character set, and each model's keys. Lines go straight into the phone with the
times they arrived at; its answers come out of a pipe."""

import os
import sys
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "virtual-phone"))
import virtual_phone  # noqa: E402


def phone_after(options, lines):
    """The phone's screen text and its answers (final results only) after `lines`, each a
    (seconds, line) pair."""
    reader, writer = os.pipe()
    phone = virtual_phone.Phone(virtual_phone.parse_options(options), writer)
    for at, line in lines:
        phone.feed(line.encode("utf-8") + b"\r\n", at)
    os.close(writer)
    with os.fdopen(reader, "rb") as answers:
        finals = [line for line in answers.read().decode("latin-1").split("\r\n") if "OK" in line or "ERROR" in line]
    return phone.screen.text, finals


RUSSIAN = ["--layout", "russian", "--multitap-wait", "1000"]


@pytest.mark.parametrize("options, lines, text", [
    # п р и в е т, each letter its own command, well within the wait
    (RUSSIAN, [(0, 'AT+CKPD="5555"'), (0.1, 'AT+CKPD="6"'), (0.2, 'AT+CKPD="4"'), (0.3, 'AT+CKPD="222"'),
               (0.4, 'AT+CKPD="33"'), (0.5, 'AT+CKPD="666"')], "привет"),
    # two letters on one key: apart by the wait and by the next key; one short of the wait goes on
    (RUSSIAN + ["--next-key", ">"], [(0, 'AT+CKPD="222"'), (1.0, 'AT+CKPD="222"'), (1.1, 'AT+CKPD=">222"'),
                                     (3.0, 'AT+CKPD="2"'), (3.999, 'AT+CKPD="2"')], "вввб"),
    # the pause between the keys of one command: at the wait two letters, one tenth short one
    (RUSSIAN, [(0, 'AT+CKPD="22",0,10'), (5, 'AT+CKPD="22",0,9')], "ааб"),
    # punctuation, the digits ending a cycle, a space, a digit held, the clear key
    (["--layout", "latin"], [(0, 'AT+CKPD="1111"'), (2, 'AT+CKPD="22220"'), (4, 'AT+CKPD="9",10'),
                             (6, 'AT+CKPD="8",9'), (8, 'AT+CKPD="66C"')], "!2 9t"),
    (["--layout", "latin", "--case", "upper", "--letters", "2=xy"], [(0, 'AT+CKPD="222"'), (2, 'AT+CKPD="3"')],
     "2D"),
    # sentence case: a capital first and after ". ", whichever letter of the cycle stays; an alpha entry as it is
    (["--layout", "latin", "--case", "sentence"], [(0, 'AT+CKPD="44"'), (2, 'AT+CKPD="444"'), (4, 'AT+CKPD="10"'),
                                                   (6, 'AT+CKPD="44"'), (8, 'AT+CKPD=";ok;"')], "Hi. Hok"),
    # alpha entries: a doubled semicolon, and UCS2 as hex
    ([], [(0, 'AT+CKPD=";a;;b;"'), (1, 'AT+CSCS="UCS2"'), (2, 'AT+CKPD=";041F0451;"')], "a;bПё"),
])
def test_the_phone_writes_what_the_presses_spell(options, lines, text):
    assert phone_after(options, lines)[0] == text


@pytest.mark.parametrize("options, lines, answers, text", [
    (["--model", "standard"], ['AT+CKPD=":X"', 'AT+CKPD="^"'], ["+CME ERROR: 25", "OK"], ""),
    (["--model", "needs-access"], ['AT+CKPD="5"', 'AT+CMEC=2', 'AT+CKPD="5"'], ["+CME ERROR: 3", "OK", "OK"], "5"),
    (["--model", "latin1"], ['AT+CKPD="12["', 'AT+CSCS="8859-1"', 'AT+CKPD="3["'], ["OK"] * 3, "13"),
    (["--model", "no-keypad"], ['AT+CKPD=?', 'AT+CKPD="5"', "AT+CGMM"], ["ERROR", "ERROR", "OK"], ""),
    ([], ['AT+CKPD=";open"', 'AT+CSCS="UCS2"', 'AT+CKPD=";04;"'], ["+CME ERROR: 25", "OK", "+CME ERROR: 25"], ""),
])
def test_each_model_takes_its_own_keys(options, lines, answers, text):
    assert phone_after(options, [(number, line) for number, line in enumerate(lines)]) == (text, answers)
