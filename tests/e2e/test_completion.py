"""A letter typed in a binding selector completes to the first key name that begins with it,
and the binding is the name the selector shows."""

from tastolink_driver.program import selector_field


def test_a_typed_letter_completes_to_the_first_key_name_and_binds_it(user):
    program = user.program
    program.choose_port()
    program.replace_text(selector_field(23, alternative=True), "F")  # ComboBox47, row 23 ("U")
    program.replace_text(selector_field(22), "N")  # ComboBox43, row 22 ("M")
    report = program.probe()
    assert (report.selector_text(47), report.selector_text(43)) == ("F1", "Num0")
    assert set(user.hold("F1", 23)) == {23}
