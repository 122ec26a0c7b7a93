"""aiosmtpd handler that stores every message it accepts: NNNN.eml holds the
bytes as received, NNNN.json the envelope. The folder is $MAIL_STORE_DIR.
Recipients whose address contains "refused" are rejected."""

import itertools
import json
import os

_numbers = itertools.count(1)


class Handler:
    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "refused" in address:
            return "550 5.1.1 <%s>: Recipient address rejected" % address
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        folder = os.environ["MAIL_STORE_DIR"]
        base = os.path.join(folder, "%04d" % next(_numbers))
        with open(base + ".eml", "wb") as f:
            f.write(envelope.original_content or envelope.content)
        with open(base + ".tmp", "w") as f:
            json.dump({"mail_from": envelope.mail_from, "rcpt_tos": envelope.rcpt_tos,
                       "helo": session.host_name}, f)
        os.rename(base + ".tmp", base + ".json")  # the message is complete
        return "250 Message accepted for delivery"
