"""A bound key held down in the focus field presses its phone key on every tick, and stops
when it is let go."""


def test_a_bound_key_repeats_while_held_and_stops_when_let_go(user):
    user.program.choose_port()
    assert set(user.hold("a", 5, count=3)) == {5}
    # Ticks go on while C is held; A, let go, presses nothing in them.
    assert set(user.hold("c", 3, count=3)) == {3}
    assert {line.data for line in user.phone.log.lines()} == {b'AT+CKPD="5"\r\n', b'AT+CKPD="3"\r\n',
                                                             b'AT+CKPD="#"\r\n'}
