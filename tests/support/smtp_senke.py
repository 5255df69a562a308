#!/usr/bin/env python3
"""A local SMTP sink for the tests.

Usage: smtp_senke.py FOLDER [--stdin]

Listens on a free port of 127.0.0.1 and prints "READY <port>" once it accepts connections.
Every message goes to FOLDER as N.eml (raw) and N.json (envelope, text body and attachments as
a mail reader decodes them). Recipients containing "abgelehnt" are refused; a message to "spaet"
is acknowledged only after --verzoegerung seconds. Ends on SIGTERM, and with --stdin when its
standard input closes, so it never outlives its test.
"""
import argparse
import asyncio
import email
import email.policy
import json
import os
import signal
import sys

from aiosmtpd.smtp import SMTP


def display_name(header):
    addresses = getattr(header, "addresses", ()) if header is not None else ()
    return addresses[0].display_name if addresses else ""


class Handler:
    def __init__(self, folder, delay):
        self.folder = folder
        self.delay = delay
        self.count = 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "abgelehnt" in address:
            return "550 5.1.1 Postfach unbekannt"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        self.count += 1
        raw = envelope.original_content or envelope.content
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        text = msg.get_body(preferencelist=("plain",))
        info = {
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "header_names": list(msg.keys()),
            "from_name": display_name(msg.get("From")),
            "cc": str(msg.get("Cc", "")),
            "subject": str(msg.get("Subject", "")),
            "date": str(msg.get("Date", "")),
            "message_id": str(msg.get("Message-ID", "")),
            "body": text.get_content() if text is not None else "",
            "attachments": [
                {
                    "filename": a.get_filename(),
                    "content_type": a.get_content_type(),
                    "content": a.get_content(),
                }
                for a in msg.iter_attachments()
            ],
            "defects": [type(d).__name__ for d in msg.defects],
        }
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".eml.tmp", "wb") as f:
            f.write(raw)
        os.replace(base + ".eml.tmp", base + ".eml")
        with open(base + ".json.tmp", "w", encoding="utf-8") as f:
            json.dump(info, f, ensure_ascii=False)
        os.replace(base + ".json.tmp", base + ".json")
        if any("spaet" in r for r in envelope.rcpt_tos):
            await asyncio.sleep(self.delay)
        return "250 Message accepted"


async def main(folder, watch_stdin, delay):
    loop = asyncio.get_running_loop()
    handler = Handler(folder, delay)
    server = await loop.create_server(
        lambda: SMTP(handler, decode_data=False, enable_SMTPUTF8=True), "127.0.0.1", 0
    )
    port = server.sockets[0].getsockname()[1]
    stop = asyncio.Event()
    loop.add_signal_handler(signal.SIGTERM, stop.set)
    loop.add_signal_handler(signal.SIGINT, stop.set)
    if watch_stdin:
        loop.add_reader(sys.stdin.fileno(), lambda: stop.set() if not sys.stdin.buffer.read1(1) else None)
    print("READY", port, flush=True)
    await stop.wait()
    server.close()
    await server.wait_closed()


if __name__ == "__main__":
    parser = argparse.ArgumentParser(description="Local SMTP sink writing messages to FOLDER.")
    parser.add_argument("folder")
    parser.add_argument("--stdin", action="store_true", help="stop when standard input closes")
    parser.add_argument("--verzoegerung", type=float, default=5.0)
    args = parser.parse_args()
    os.makedirs(args.folder, exist_ok=True)
    asyncio.run(main(args.folder, args.stdin, args.verzoegerung))
