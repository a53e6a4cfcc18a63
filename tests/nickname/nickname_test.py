#!/usr/bin/env python3
"""Runs the nickname export of the real plugin libraries against a loopback
profile-score service of ours: one table of cases, each the answers the
service gives, the request targets it must see and the text the export must
return. The same table serves the Windows libraries under Wine and the native
ones."""

import argparse
import collections
import fcntl
import os
import queue
import socket
import subprocess
import sys
import tempfile
import threading
import time

PREFIX = b"/fcg-bin/cgi_get_score.fcg?mask=7&uins="
USER_AGENT = b"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)"
MIB = 1 << 20
# An answer that never ends is cut here, so that a client without a bound
# fails the test in seconds instead of filling the machine.
ENDLESS_CAP = 256 * MIB
# How much more memory the endless answer may cost the client process.
MEMORY_ALLOWANCE = 48 * MIB
# Bytes the loopback socket buffers may swallow after the client stops reading.
SOCKET_SLACK = 32 * MIB
# Besides Host, User-Agent and Accept, only what an HTTP client adds by itself.
OTHER_HEADERS = (b"pragma", b"cache-control", b"connection")


class Answer:
    def __init__(self, body, status=b"200 OK", length=True, headers=(), endless=False):
        self.body, self.status, self.length = body, status, length
        self.headers, self.endless = list(headers), endless


class Service:
    """An HTTP service on 127.0.0.1 that gives the queued answers in order and
    records every request. Runs of this script on one port take turns (a lock
    file), and a paused service keeps its port bound so that nobody else
    answers in its place."""

    def __init__(self, port):
        self.port = port
        self.answers = collections.deque()
        self.requests = []
        self.endless_sent = None
        self.listener = None
        self.blocker = None
        self.lock = open(os.path.join(tempfile.gettempdir(), f"nickname-service-{port}.lock"), "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)

    def _bind(self, wait=180):
        deadline = time.monotonic() + wait
        while True:
            s = socket.socket()
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEPORT, 1)
            try:
                s.bind(("127.0.0.1", self.port))
                return s
            except OSError:
                s.close()
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.5)

    def start(self):
        s = self._bind()
        s.listen(8)
        s.settimeout(0.2)
        self.listener = s
        self.thread = threading.Thread(target=self._accept, args=(s,), daemon=True)
        self.thread.start()
        if self.blocker is not None:
            self.blocker.close()
            self.blocker = None

    def stop(self):
        listener, self.listener = self.listener, None
        self.thread.join()
        listener.close()

    def pause(self):
        """Connections are refused until start()."""
        self.blocker = self._bind()
        self.stop()

    def _accept(self, listener):
        while self.listener is listener:
            try:
                conn, _ = listener.accept()
            except socket.timeout:
                continue
            with conn:
                self._serve(conn)

    def _serve(self, conn):
        conn.settimeout(30)
        head = b""
        try:
            while b"\r\n\r\n" not in head and len(head) < 65536:
                piece = conn.recv(4096)
                if not piece:
                    break
                head += piece
        except OSError:
            pass
        self.requests.append(head)
        answer = self.answers.popleft() if self.answers else Answer(b"no answer queued", b"500 Unexpected")
        out = b"HTTP/1.0 " + answer.status + b"\r\nContent-Type: text/html\r\n"
        for h in answer.headers:
            out += h + b"\r\n"
        if answer.length:
            out += b"Content-Length: %d\r\n" % len(answer.body)
        out += b"\r\n" + answer.body
        try:
            conn.sendall(out)
            if answer.endless:
                sent, filler = len(answer.body), b"x" * 65536
                try:
                    while sent < ENDLESS_CAP:
                        conn.sendall(filler)
                        sent += len(filler)
                finally:
                    self.endless_sent = sent
        except OSError:
            pass


def gbk(s):
    return s.encode("gbk")


def request_target(account):
    return PREFIX + account.split(b"#")[0]


# Each case: name, account (None passes the null pointer), answers given in
# order, the request targets expected (None: one request for the account),
# and the expected result (None: the null pointer).
LONG_ACCOUNT = b"1" * 2008  # the URL is 2047 bytes behind the host: still sent
NAME_23 = gbk("冒险家的名字很长很长很") + b"x"  # 23 bytes
NAME_24 = gbk("冒险家的名字很长很长很长")  # 24 bytes
OVER_LIMIT = ("2048 bytes behind the host", LONG_ACCOUNT + b"1", [], [], None)
CASES = [
    ("plain nickname", b"10001", [Answer(b'portrait({"10001":[0,"abc",0]})')], None, b"abc"),
    ("23 bytes are a nickname", b"10002", [Answer(b'x,"' + NAME_23 + b'",y')], None, NAME_23),
    ("24 bytes give the account", b"10003", [Answer(b'x,"' + NAME_24 + b'",y')], None, b"10003"),
    ("end marker only", b"10004", [Answer(b'abc",tail')], None, b"abc"),
    ("end marker only, 24 bytes", b"10005", [Answer(b"a" * 24 + b'",tail')], None, b"10005"),
    ("start marker only", b"10006", [Answer(b'x,"abc')], None, None),
    ("markers adjacent", b"10007", [Answer(b',"",')], None, None),
    ("markers overlapping", b"10008", [Answer(b',",')], None, None),
    ("no markers", b"10009", [Answer(b"hello")], None, None),
    ("zero byte hides markers", b"10010", [Answer(b'x\x00,"abc",')], None, None),
    ("zero byte inside nickname", b"10011", [Answer(b',"ab\x00c",')], None, None),
    ("zero byte after nickname", b"10012", [Answer(b',"abc",\x00,"def",')], None, b"abc"),
    ("marker inside a GBK character", b"10013", [Answer(b'\xb0,"abc",')], None, b'\xb0,"abc'),
    ("GBK nickname", b"10014", [Answer(b',"' + gbk("冒险家") + b'",')], None, gbk("冒险家")),
    ("404 answer is read", b"10015", [Answer(b'<html>,"abc",</html>', b"404 Not Found")], None, b"abc"),
    ("500 answer is read", b"10016", [Answer(b',"oops",', b"500 Internal Server Error")], None, b"oops"),
    ("redirect is followed", b"10017",
     [Answer(b',"moved-away",', b"302 Found", headers=[b"Location: /moved?to=10017"]), Answer(b',"moved",')],
     [PREFIX + b"10017", b"/moved?to=10017"], b"moved"),
    ("no Content-Length", b"10018", [Answer(b"x" * 50000 + b',"abc",', length=False)], None, b"abc"),
    ("body longer than the read buffer", b"10019", [Answer(b"x" * 250000 + b',"abc",')], None, b"abc"),
    ("empty account", b"", [Answer(b',"abc",')], None, b"abc"),
    ("null account", None, [Answer(b',"abc",')], [PREFIX], b"abc"),
    ("hash ends the query", b"10020#frag", [Answer(b',"abc",')], None, b"abc"),
    ("hash: account itself comes back", b"10021#frag", [Answer(b',"' + NAME_24 + b'",')], None, b"10021#frag"),
    ("2047 bytes behind the host", LONG_ACCOUNT, [Answer(b',"long",')], None, b"long"),
    OVER_LIMIT,
    ("2047 bytes with a hash", b"1" * 1999 + b"#" + b"x" * 8, [Answer(b',"abc",')], None, b"abc"),
    ("2048 bytes with a hash", b"1" * 2000 + b"#" + b"x" * 8, [], [], None),
    ("first of two lookups", b"10022", [Answer(b',"one",')], None, b"one"),
    ("second lookup asks afresh", b"10022", [Answer(b',"two",')], None, b"two"),
    ("body just within the bound", b"10023", [Answer(b"x" * (MIB - 7) + b',"abc",')], None, b"abc"),
    ("body crossing the bound", b"10024", [Answer(b"x" * (MIB - 6) + b',"abc",')], None, None),
    ("no Content-Length, crossing the bound", b"10025",
     [Answer(b"x" * (MIB - 6) + b',"abc",', length=False)], None, None),
]


class Client:
    def __init__(self, command):
        self.proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip(b"\r\n").decode("ascii"))
        self.lines.put(None)

    def ask(self, command, timeout=120):
        self.proc.stdin.write(command.encode("ascii") + b"\n")
        self.proc.stdin.flush()
        try:
            reply = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise AssertionError(f"no reply to {command[:60]!r} within {timeout} s")
        if reply is None:
            raise AssertionError(f"client ended (status {self.proc.wait()}) at {command[:60]!r}")
        return reply

    def lookup(self, library, account):
        reply = self.ask(f"lookup {library} " + ("-" if account is None else account.hex()))
        return None if reply == "null" else bytes.fromhex(reply[len("text "):])

    def clients(self):
        made, released = self.ask("clients").split()
        return int(made), int(released)

    def close(self):
        self.proc.stdin.close()
        return self.proc.wait(timeout=60)


def shown(b):
    if b is None:
        return "null"
    return b[:80].hex(" ") + (f" ... ({len(b)} bytes)" if len(b) > 80 else "")


class Checker:
    def __init__(self, service, host):
        self.service, self.host, self.failures = service, host, []

    def expect(self, ok, what):
        if not ok:
            self.failures.append(what)
            print("FAIL:", what)

    def check_request(self, where, raw, target):
        lines = raw.split(b"\r\n\r\n")[0].split(b"\r\n")
        self.expect(lines[0] == b"GET " + target + b" HTTP/1.0",
                    f"{where}: request line {shown(lines[0])}, expected {shown(b'GET ' + target + b' HTTP/1.0')}")
        headers = collections.defaultdict(list)
        for line in lines[1:]:
            name, _, value = line.partition(b":")
            headers[name.strip().lower()].append(value.strip())
        self.expect(headers[b"user-agent"] == [USER_AGENT], f"{where}: User-Agent {headers[b'user-agent']}")
        self.expect(headers[b"accept"] == [b"*/*"], f"{where}: Accept {headers[b'accept']}")
        self.expect(headers[b"host"] == [self.host.encode()], f"{where}: Host {headers[b'host']}")
        others = set(headers) - {b"host", b"user-agent", b"accept"} - set(OTHER_HEADERS)
        self.expect(not others, f"{where}: sends {sorted(others)}")

    def run_case(self, client, library, case):
        name, account, answers, targets, result = case
        where = f"{library}: {name}"
        if targets is None:
            targets = [request_target(account)]
        self.service.answers.extend(answers)
        self.service.requests.clear()
        got = client.lookup(library, account)
        self.expect(got == result, f"{where}: result {shown(got)}, expected {shown(result)}")
        self.expect(len(self.service.requests) == len(targets),
                    f"{where}: {len(self.service.requests)} requests, expected {len(targets)}")
        for raw, target in zip(self.service.requests, targets):
            self.check_request(where, raw, target)
        self.expect(not self.service.answers, f"{where}: answers left unasked")
        self.service.answers.clear()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--host", required=True, help="the service host the libraries were built with")
    parser.add_argument("--client", required=True, nargs="+", help="command that runs the test client")
    parser.add_argument("--library", required=True, nargs=2, action="append", metavar=("NAME", "PATH"))
    parser.add_argument("--wine", action="store_true", help="the client is a Windows program under Wine")
    args = parser.parse_args()
    if args.wine:
        args.library = [(n, "Z:" + p.replace("/", "\\")) for n, p in args.library]

    service = Service(int(args.host.rsplit(":", 1)[1]))
    service.start()
    check = Checker(service, args.host)
    client = Client(args.client)
    try:
        for name, path in args.library:
            check.expect(client.ask(f"load {name} {path}") == "ok", f"{name}: cannot load {path}")
        made = 0
        for name, _ in args.library:
            # A URL that is never requested makes no client; the first real
            # fetch makes one that serves every later lookup of the library.
            check.run_case(client, name, OVER_LIMIT)
            check.expect(client.clients() == (made, 0), f"{name}: a client made before any request")
            for case in CASES:
                check.run_case(client, name, case)
            made += 1
            check.expect(client.clients() == (made, 0), f"{name}: clients made, released {client.clients()}")

            service.pause()
            check.run_case(client, name, ("service unreachable", b"10030", [], [], None))
            service.start()
            check.run_case(client, name, ("service back", b"10031", [Answer(b',"back",')], None, b"back"))

            before = int(client.ask("memory"))
            service.endless_sent = None
            check.run_case(client, name, ("endless body", b"10032", [Answer(b',"abc",', length=False, endless=True)],
                                          None, b"abc"))
            grown = int(client.ask("memory")) - before
            check.expect(grown < MEMORY_ALLOWANCE, f"{name}: endless body cost {grown} bytes of memory")
            for _ in range(50):
                if service.endless_sent is not None:
                    break
                time.sleep(0.1)
            sent = service.endless_sent
            check.expect(sent is not None and sent < MIB + SOCKET_SLACK,
                         f"{name}: endless body read on to {sent} bytes")
            check.expect(client.clients() == (made, 0), f"{name}: clients made, released {client.clients()}")

        # Unload releases each library's client; loaded again, a library
        # makes a new one. A library the system keeps loaded keeps its client.
        unloaded = [name for name, _ in args.library if client.ask(f"unload {name}") == "ok"]
        for name, _ in args.library:
            if name not in unloaded:
                print(f"note: {name} stays loaded after unload; its release is not checked")
        check.expect(client.clients() == (made, len(unloaded)),
                     f"after unload of {unloaded}: clients made, released {client.clients()}")
        name, path = args.library[0]
        check.expect(name in unloaded, f"{name}: not unloaded")
        client.ask(f"load {name} {path}")
        check.run_case(client, name, ("lookup after reload", b"10040", [Answer(b',"again",')], None, b"again"))
        check.expect(client.ask(f"unload {name}") == "ok", f"{name}: not unloaded again")
        check.expect(client.clients() == (made + 1, len(unloaded) + 1), f"after reload: clients {client.clients()}")
        check.expect(client.close() == 0, "client program failed")
    finally:
        if client.proc.poll() is None:
            client.proc.kill()
        if service.listener is not None:
            service.stop()
    if check.failures:
        print(f"{len(check.failures)} checks failed")
        return 1
    print(f"{len(CASES) + 5} cases passed for {', '.join(n for n, _ in args.library)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
