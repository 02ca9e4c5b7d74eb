"""Client of e2edriver.exe, the Win32 program that drives the programs under test.

The driver runs under Wine in the run's prefix and answers one line per
request line (see tests/e2e/driver/Commands.h). Strings travel as hex of their
UTF-8 bytes, so Chinese texts and any other characters arrive intact.

Standard library only.
"""

import os
import select
import signal
import subprocess
import time


class HarnessError(AssertionError):
    """A request failed: the program misbehaved, or a wait timed out."""


class WaitTimeout(HarnessError):
    """A wait for a window, an exit or a state ran out of time."""


def encode_value(value):
    if isinstance(value, bool):
        return '1' if value else '0'
    if isinstance(value, int):
        return str(value)
    if isinstance(value, (list, tuple)):
        return ','.join(str(int(v)) for v in value)
    if isinstance(value, bytes):
        return value.hex()
    return str(value).encode('utf-8').hex()


def decode_text(field):
    """A reply's string field ("x" + hex of UTF-8) as str."""
    if not field.startswith('x'):
        raise HarnessError('not a string field: %r' % field)
    return bytes.fromhex(field[1:]).decode('utf-8', 'replace')


class Driver:
    """One e2edriver.exe process and its request/reply pipe."""

    # Time allowed for a reply beyond the request's own time-out.
    REPLY_MARGIN = 20.0

    def __init__(self, run, driver_path, lang='en', extra_env=None, log_name='driver.log'):
        self.lang = lang
        with run.log(log_name) as err:
            self.process = subprocess.Popen(
                ['wine', driver_path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=err,
                env=run.env(lang, extra_env), start_new_session=True)
        self._buffer = b''
        self.call('hello', _reply_timeout=60)

    def call(self, verb, _reply_timeout=None, **args):
        """Sends one request; returns the reply's fields after "ok".

        Raises WaitTimeout for "err timeout" and HarnessError for other
        errors, a dead driver or a missing reply.
        """
        words = [verb] + ['%s=%s' % (key, encode_value(value)) for key, value in args.items()
                          if value is not None]
        line = ' '.join(words)
        if _reply_timeout is None:
            _reply_timeout = args.get('timeout', 0) / 1000.0 + self.REPLY_MARGIN
        try:
            self.process.stdin.write(line.encode('ascii') + b'\n')
            self.process.stdin.flush()
        except (BrokenPipeError, OSError):
            raise HarnessError('the driver has ended (exit code %s)' % self.process.poll())
        reply = self._read_line(_reply_timeout, line)
        if reply == 'ok':
            return []
        if reply.startswith('ok '):
            return reply[3:].split(' ')
        if reply == 'err timeout':
            raise WaitTimeout('%s: timed out' % verb)
        raise HarnessError('%s: %s' % (verb, reply[4:] if reply.startswith('err ') else reply))

    def _read_line(self, timeout, request):
        deadline = time.monotonic() + timeout
        fd = self.process.stdout.fileno()
        chunks = [self._buffer]
        end = self._buffer.find(b'\n')
        while end < 0:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                raise HarnessError('no reply from the driver within %.0f s to: %s' % (timeout, request[:200]))
            chunk = os.read(fd, 1 << 20)
            if not chunk:
                raise HarnessError('the driver ended while answering: %s' % request[:200])
            chunks.append(chunk)
            end = chunk.find(b'\n')  # a long reply (many rows) is only scanned once
        data = b''.join(chunks)
        line, self._buffer = data.split(b'\n', 1)
        return line.decode('ascii', 'replace').rstrip('\r')

    def close(self):
        """Asks the driver to end; kills it when it does not within 5 s."""
        if self.process.poll() is None:
            try:
                self.call('quit', _reply_timeout=5)
            except HarnessError:
                pass
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(self.process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.process.wait(5)
        for stream in (self.process.stdin, self.process.stdout):
            try:
                stream.close()
            except OSError:
                pass
