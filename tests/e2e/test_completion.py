"""A letter typed in a binding selector completes to the first key name that begins with it,
an entry clicked in the list it drops goes into it, and the binding is the name it shows."""

from tastolink_driver.program import dropped_entry, selector_button, selector_field


def test_a_typed_letter_completes_to_the_first_key_name_and_binds_it(user):
    program = user.program
    program.choose_port()
    program.replace_text(selector_field(23, alternative=True), "F")  # ComboBox47, row 23 ("U")
    program.replace_text(selector_field(22), "N")  # ComboBox43, row 22 ("M")
    # The program reads its input after the probe's question: wait for the typing to arrive.
    program.wait_for_report(lambda r: (r.selector_text(47), r.selector_text(43)) == ("F1", "Num0"),
                            "the completed names")
    assert set(user.hold("F1", 23)) == {23}


def test_an_entry_clicked_in_the_dropped_list_binds_it(user):
    program = user.program
    program.choose_port()
    program.click(selector_button(2, alternative=True))  # ComboBox12, row 2 ("2")
    program.wait_for_list()
    program.click(dropped_entry(2, 2, alternative=True))  # the third key name
    program.wait_for_report(lambda r: r.selector_text(12) == "F3", "the name clicked")
    assert set(user.hold("F3", 2)) == {2}
