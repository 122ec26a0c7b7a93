"""aiosmtpd handler that accepts every message and keeps none."""


class Handler:
    async def handle_DATA(self, server, session, envelope):
        return "250 OK"
