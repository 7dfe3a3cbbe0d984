"""The selectors as a user and an automation tool meet them: a typed letter completes to the first
key name that begins with it, Up and Down step through the list from the entry shown, an entry
clicked in the dropped list is taken, the right button gives the edit menu of the selector clicked,
and a second program reads and chooses entries with the combo box's own messages. The binding is
the name a selector shows, however it came there."""

from tastolink_driver.program import PORT_SELECTOR, selector

GUI_INMENUMODE = 0x4  # the menu's loop runs


def test_a_typed_letter_completes_to_the_first_key_name_and_binds_it(user):
    program = user.program
    program.choose_port()
    program.replace_text(selector(47), "F")  # row 23 ("U"), the alternative
    program.replace_text(selector(43), "N")  # row 22 ("M")
    # The program reads its input after the probe's question: wait for the typing to arrive.
    program.wait_for_report(lambda r: (r.selector_text(47), r.selector_text(43)) == ("F1", "Num0"),
                            "the completed names")
    assert set(user.hold("F1", 23)) == {23}


def test_up_and_down_step_from_the_entry_shown_to_the_ends(user):
    program, display = user.program, user.display
    program.click(selector(44))  # empty: from no entry the first Down shows the first entry
    display.tap(*["Down"] * 34)  # F1 to F12, Num0 to Num9, Shift to Space, Left to Down, A, B
    program.replace_text(selector(43), "Z")
    display.tap(*["Up"] * 7)
    program.replace_text(selector(46), "U")  # completes to "Up"; Delete takes the completion away
    display.tap("Delete", "Up")
    program.wait_for_report(lambda r: (r.selector_text(44), r.selector_text(43), r.selector_text(46)) ==
                            ("B", "S", "T"), "the entries stepped to")


def test_an_entry_clicked_in_the_dropped_list_binds_it(user):
    program = user.program
    program.choose_port()
    program.click_drop_button(selector(12))  # row 2 ("2"), the alternative
    program.click_dropped_entry(2)  # the third key name
    program.wait_for_report(lambda r: r.selector_text(12) == "F3", "the name clicked")
    assert set(user.hold("F3", 2)) == {2}


def test_the_right_button_gives_the_edit_menu_of_the_selector_clicked(user):
    program, display = user.program, user.display
    program.click(selector(5))  # the field is in row 5's selector, "A"
    left, top, right, bottom = program.places[selector(3)]
    display.click((left + right) // 2, (top + bottom) // 2, button=3)  # row 3's, "C"
    program.wait_for_report(lambda r: r.raw.get("flags", 0) & GUI_INMENUMODE, "the edit menu")
    display.tap("Up", "Up", "Return")  # "Delete", above "Select all"; the focus selected the whole text
    program.wait_for_report(lambda r: (r.selector_text(3), r.selector_text(5)) == ("", "A"), "row 3's text deleted")



def test_an_automation_tool_reads_and_chooses_entries_as_in_a_combo_box(user):
    program = user.program
    program.choose_port()
    combo = program.combo_message
    assert combo(selector(43), "GETCOUNT") == (58, "")
    assert combo(selector(43), "GETLBTEXT", 57) == (1, "Z") and combo(selector(43), "GETLBTEXT", 58)[0] == -1
    found = combo(selector(43), "FINDSTRINGEXACT", -1, "q")[0]
    assert combo(selector(43), "GETLBTEXT", found) == (1, "Q")
    assert combo(selector(43), "SETCURSEL", found)[0] == found
    assert combo(selector(43), "GETCURSEL")[0] == found
    assert combo(selector(43), "SHOWDROPDOWN", 1)[0] == 1 and combo(selector(43), "GETDROPPEDSTATE")[0] == 1
    assert combo(selector(43), "SHOWDROPDOWN", 0)[0] == 1 and combo(selector(43), "GETDROPPEDSTATE")[0] == 0
    assert combo(selector(PORT_SELECTOR), "SELECTSTRING", -1, "com3")[0] == 2
    # The choice binds Q to row 22 ("M"); the port chosen before still takes the lines.
    assert set(user.hold("q", 22)) == {22}
    assert program.probe().selector_text(PORT_SELECTOR) == "COM3"
