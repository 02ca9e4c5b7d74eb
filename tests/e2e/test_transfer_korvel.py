"""korvellink against a simulated Korvel instrument: the transfer tests of
every family (e2e_transfer_cases.py) with the Korvel wire."""

import sys

sys.dont_write_bytecode = True

import e2e_transfer_cases  # noqa: E402
import harness  # noqa: E402
from e2e_instrument import korvel_frame, korvel_reply  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402

HANDSHAKE = b'\x01S\r'


class KorvelTransfers(e2e_transfer_cases.FamilyTransfers, TransferTestCase):
    PROGRAM = 'korvellink'
    MODEL = 'Korvel'
    # COM10 and above open only through the "\\.\COMn" device path.
    PORT = 10
    # Names and marks of up to 7 characters without spaces travel whole.
    LONGEST = ('ABCDEFG', 'TREE7CH', -0.001, 9999999.999, 0.0)
    WIDEST = ('P3', 'TREE', 12.3456, -7.0, 1234567.891)
    REFUSED = ('BIG', 'X', 1e8, 1.0, 2.0)

    def received_title(self, count):
        # The last frame's counters fill the title, the point's number first.
        return 'Crurent Proc No. %04d, Total %04d Points' % (count, count)

    def receive_dump(self, points):
        # The echoed handshake, then the reply to each frame.
        return [HANDSHAKE] + [korvel_reply(korvel_frame(p, i + 1, len(points))) for i, p in enumerate(points)]

    def send_dump(self, points):
        # The echoed handshake, then a frame per point.
        return [HANDSHAKE] + [korvel_frame(p, i + 1, len(points)) for i, p in enumerate(points)]

    def check_layout(self, sent):
        # The layout spelt out once, for the second frame.
        self.assertEqual(sent[2][:23], b'\x02' + b'00020005' + b'LONGNAMMARKLON')
        self.assertEqual(sent[2][23:], b'-0001234.568' + b'00000000.000' + b'-0000000.000' + b'\r')


if __name__ == '__main__':
    harness.main()
