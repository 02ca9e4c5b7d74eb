"""tassinlink against a simulated Tassin instrument: the transfer tests of
every family (e2e_transfer_cases.py) with the Tassin wire."""

import sys

sys.dont_write_bytecode = True

import e2e_transfer_cases  # noqa: E402
import harness  # noqa: E402
from e2e_instrument import tassin_frame  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402


class TassinTransfers(e2e_transfer_cases.FamilyTransfers, TransferTestCase):
    PROGRAM = 'tassinlink'
    MODEL = 'Tassin'
    PORT = 5
    # Names of up to 7 and marks of up to 4 characters travel whole from the
    # instrument; marks are cut to 3 on their way to it.
    LONGEST = ('ABCDEFG', 'TREE', -0.001, 9999999.999, 0.0)
    # Number texts of exactly 13 characters: no zero byte after them.
    WIDEST = ('E13', 'ABC', 100000000.0, -12345678.123, 1234567.891)
    # "%.3f" gives 15 characters; the frame's field holds 13.
    REFUSED = ('BIG', 'X', 1.0, 12345678901.5, 2.0)

    def received_title(self, count):
        return 'processing  tag No.%d' % count

    def receive_dump(self, points):
        return []  # the PC writes nothing during a receive

    def send_dump(self, points):
        # The sync is read, not echoed; then a frame per point.
        return [tassin_frame(p, len(points)) for p in points]

    def rows_after_send(self, rows):
        # A send takes the trailing spaces off the names it sends; whether a
        # row shows that at once is the list's affair.
        return (rows, [[row[0].rstrip(' ')] + row[1:] for row in rows])

    def check_layout(self, sent):
        # The layout spelt out once, for the third frame.
        self.assertEqual(sent[3], b'\xa0\x37' + b'   5' + b'E13\0\0\0\0' + b'ABC\0' + b'100000000.000'
                         + b'-12345678.123' + b'1234567.891\0\0' + b'\0')


if __name__ == '__main__':
    harness.main()
