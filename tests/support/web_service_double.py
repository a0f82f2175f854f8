#!/usr/bin/python3
"""A stand-in for the web survey service, for the tests only.

It serves, on 127.0.0.1 and nowhere else:
  - the service: GET /ws/CallFunc.php?func=NAME&param1=...&refreshme=... with the eight
    functions, keeping accounts, surveys, published files and results in memory;
  - an FTP server whose user's home holds the drop folder "incoming";
  - a control endpoint (its own port) through which the tests set up state, choose failures and
    read what the service saw: GET /state, POST /control with a JSON object of commands.

Answers can be made slow (a wait before each) or made to trickle (a pause after every byte);
the FTP server can refuse a step, drop the connection, or trickle its replies from the first
change of directory on.

It prints one JSON line with its ports on stdout once it listens, and ends when its standard
input closes (so it never outlives the test that started it) or on the "quit" command.
"""

import argparse
import json
import logging
import os
import shutil
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.log import config_logging
from pyftpdlib.servers import ThreadedFTPServer

LOOPBACK = "127.0.0.1"
FTP_USER = "webftp"
FTP_PASSWORD = "ftp secret"
FTP_TRICKLE = 0.2  # seconds between the bytes of a trickling FTP reply


class QuietServer(ThreadingHTTPServer):
    """A client that gave up on a slow answer is no error worth printing."""

    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass


class State:
    """Everything the service keeps, guarded by one lock."""

    def __init__(self, root):
        self.lock = threading.Lock()
        self.root = root
        self.incoming = os.path.join(root, "incoming")
        self.published_dir = os.path.join(root, "published")
        self.http_port = 0
        self.reset()

    def reset(self):
        self.accounts = {}       # user name -> {"password", "id"}
        self.next_user = 17
        self.surveys = {}        # id -> {"name", "owner", "public", "url", "file"}
        self.next_survey = 4
        self.results = {}        # file name -> text
        self.requests = []       # every service request as the service decoded it
        self.answers = {}        # function name (or "*") -> raw answer text
        self.slow = 0.0          # seconds to wait before answering
        self.trickle = 0.0       # seconds between the bytes of every HTTP answer's body
        self.ftp_failure = ""    # "", "login", "cwd", "put", "drop" or "trickle"
        for folder in (self.incoming, self.published_dir):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)

    def snapshot(self):
        return {
            "accounts": {u: a["id"] for u, a in self.accounts.items()},
            "surveys": {str(i): s for i, s in self.surveys.items()},
            "results": sorted(self.results),
            "requests": self.requests,
            "incoming": sorted(os.listdir(self.incoming)) if os.path.isdir(self.incoming) else [],
            "published": sorted(os.listdir(self.published_dir)),
        }


def success(value):
    return "Success<br>%s<br>" % value


def call(state, func, p):
    """The eight functions: the answer text for one request."""
    if func == "GetWebUserID":
        account = state.accounts.get(p.get("param1"))
        if account and account["password"] == p.get("param2"):
            return success(account["id"])
        return "Error: invalid username or password."
    if func == "GetSurveyID":
        for sid, s in state.surveys.items():
            if s["name"] == p.get("param1") and str(s["owner"]) == p.get("param2"):
                return success(sid)
        return "Error: no such survey."
    if func == "CreateSurvey":
        sid = state.next_survey
        state.next_survey += 1
        state.surveys[sid] = {"name": p.get("param2", ""), "owner": p.get("param1"),
                              "public": False, "url": "", "file": ""}
        return success(sid)
    if func == "MoveNewSurvey":
        name, sid = p.get("param1", ""), p.get("param2", "")
        survey = state.surveys.get(int(sid)) if sid.lstrip("-").isdigit() else None
        source = os.path.join(state.incoming, os.path.basename(name))
        if not survey or not name or not os.path.isfile(source):
            return "Error: the survey file was not found."
        shutil.move(source, os.path.join(state.published_dir, os.path.basename(name)))
        survey["public"] = p.get("param3") == "True"
        survey["file"] = name
        survey["url"] = "http://%s:%d/survey.php?id=%s" % (LOOPBACK, state.http_port, sid)
        return success(survey["url"])
    if func == "GetSurveyListForUser":
        ids = [str(i) for i, s in state.surveys.items() if str(s["owner"]) == p.get("param1")]
        return success(",".join(ids))
    if func == "GetSurveyName":
        sid = p.get("param1", "")
        survey = state.surveys.get(int(sid)) if sid.lstrip("-").isdigit() else None
        return success(survey["name"] if survey else "")
    if func == "GetSurveyResults":
        text = state.results.get(p.get("param1"))
        return text if text is not None else "Failure: no results file."
    if func == "DeleteSurveyResultsFile":
        name = "%s-%s.txt" % (p.get("param1"), p.get("param2"))
        if state.results.pop(name, None) is not None:
            return success("1")
        return "Error: no results file."
    return "Error: unknown function."


class ServiceHandler(BaseHTTPRequestHandler):
    state = None

    def log_message(self, *args):
        pass

    def do_GET(self):
        state = self.state
        url = urllib.parse.urlsplit(self.path)
        params = dict(urllib.parse.parse_qsl(url.query, keep_blank_values=True))
        with state.lock:
            slow, trickle = state.slow, state.trickle
        if slow:
            time.sleep(slow)
        if url.path != "/ws/CallFunc.php":
            code, body = 404, b"<html>Not found</html>"
        else:
            func = params.get("func", "")
            with state.lock:
                state.requests.append({"func": func, "params": params, "query": url.query})
                answer = state.answers.get(func, state.answers.get("*"))
                if answer is None:
                    answer = call(state, func, params)
            code, body = 200, answer.encode("utf-8")
        self.send_response(code)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if not trickle:
            self.wfile.write(body)
            return
        # The headers go out whole, the body one byte at a time.
        for i in range(len(body)):
            self.wfile.write(body[i:i + 1])
            time.sleep(trickle)


class Service:
    """The service's HTTP listener, which the tests can take down and bring back on its port."""

    def __init__(self, state):
        self.state = state
        self.port = 0
        self.server = None
        self.thread = None
        self.start()

    def start(self):
        if self.server:
            return
        handler = type("Handler", (ServiceHandler,), {"state": self.state})
        self.server = QuietServer((LOOPBACK, self.port), handler)
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        if not self.server:
            return
        self.server.shutdown()
        self.server.server_close()
        self.server = None


def make_ftp_handler(state):
    class Handler(FTPHandler):
        trickling = False

        def push(self, s):
            if not self.trickling:
                return super().push(s)
            for byte in s.encode("utf8"):
                if self._closed:
                    return
                # What FTPHandler.push does with the whole text, a byte at a time.
                super(FTPHandler, self).push(bytes([byte]))
                time.sleep(FTP_TRICKLE)

        def ftp_USER(self, line):
            if state.ftp_failure == "drop":
                self.close()
                return
            return super().ftp_USER(line)

        def ftp_PASS(self, line):
            if state.ftp_failure == "login":
                self.respond("530 Login refused by the test.")
                return
            return super().ftp_PASS(line)

        def ftp_CWD(self, path):
            if state.ftp_failure == "trickle":
                self.trickling = True
            if state.ftp_failure == "cwd":
                self.respond("550 No such directory (refused by the test).")
                return
            return super().ftp_CWD(path)

        def ftp_STOR(self, file, mode="w"):
            if state.ftp_failure == "put":
                self.respond("553 Could not create file (refused by the test).")
                return
            return super().ftp_STOR(file, mode)

    authorizer = DummyAuthorizer()
    authorizer.add_user(FTP_USER, FTP_PASSWORD, state.root, perm="elradfmw")
    Handler.authorizer = authorizer
    Handler.banner = "Test FTP service ready."
    Handler.auth_failed_timeout = 0.05
    Handler.passive_ports = None
    Handler.masquerade_address = None
    return Handler


class ControlHandler(BaseHTTPRequestHandler):
    state = None
    service = None
    done = None

    def log_message(self, *args):
        pass

    def reply(self, obj, code=200):
        body = json.dumps(obj).encode("utf-8")
        self.send_response(code)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path != "/state":
            return self.reply({"error": "unknown path"}, 404)
        with self.state.lock:
            return self.reply(self.state.snapshot())

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        try:
            commands = json.loads(self.rfile.read(length).decode("utf-8") or "{}")
        except ValueError as e:
            return self.reply({"error": str(e)}, 400)
        state, out = self.state, {}
        with state.lock:
            if commands.get("reset"):
                state.reset()
            if "addAccount" in commands:
                a = commands["addAccount"]
                uid = a.get("id") or state.next_user
                state.next_user = max(state.next_user, uid + 1)
                state.accounts[a["user"]] = {"password": a["password"], "id": uid}
                out["id"] = uid
            if "addSurvey" in commands:
                s = commands["addSurvey"]
                sid = s.get("id") or state.next_survey
                state.next_survey = max(state.next_survey, sid + 1)
                state.surveys[sid] = {"name": s["name"], "owner": str(s["owner"]),
                                      "public": False, "url": "", "file": ""}
                out["id"] = sid
            if "setResults" in commands:
                r = commands["setResults"]
                state.results[r["file"]] = r["text"]
            if "answer" in commands:
                a = commands["answer"]
                if a.get("text") is None:
                    state.answers.pop(a["func"], None)
                else:
                    state.answers[a["func"]] = a["text"]
            if "slow" in commands:
                state.slow = float(commands["slow"])
            if "trickle" in commands:
                state.trickle = float(commands["trickle"])
            if "ftpFailure" in commands:
                state.ftp_failure = commands["ftpFailure"] or ""
        if "unreachable" in commands:
            if commands["unreachable"]:
                self.service.stop()
            else:
                self.service.start()
        self.reply(out)
        if commands.get("quit"):
            self.done.set()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dir", required=True, help="folder for the FTP home")
    args = parser.parse_args()

    config_logging(level=logging.WARNING)
    state = State(os.path.abspath(args.dir))
    service = Service(state)
    state.http_port = service.port

    ftp = ThreadedFTPServer((LOOPBACK, 0), make_ftp_handler(state))
    ftp_port = ftp.socket.getsockname()[1]
    threading.Thread(target=ftp.serve_forever, kwargs={"handle_exit": False}, daemon=True).start()

    done = threading.Event()
    control_handler = type("Control", (ControlHandler,),
                           {"state": state, "service": service, "done": done})
    control = QuietServer((LOOPBACK, 0), control_handler)
    threading.Thread(target=control.serve_forever, daemon=True).start()

    def watch_stdin():
        sys.stdin.read()
        done.set()

    threading.Thread(target=watch_stdin, daemon=True).start()

    print(json.dumps({"http": service.port, "ftp": ftp_port, "control": control.server_address[1],
                      "ftpUser": FTP_USER, "ftpPassword": FTP_PASSWORD}), flush=True)
    done.wait()
    os._exit(0)


if __name__ == "__main__":
    main()
