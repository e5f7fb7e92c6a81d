# The loopback HTTP server of the tests: serves a folder, records each request path in
# CONTROL/requests.txt and answers with the statuses planned in CONTROL/answers.txt first.
# Arguments: FOLDER PORT CONTROL.
import functools, http.server, os, sys, threading
folder, port, control = sys.argv[1], int(sys.argv[2]), sys.argv[3]
# Requests are served on threads of their own: the record and the plan are read and written by
# one at a time, so that each planned answer goes to exactly one request.
files = threading.Lock()
class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        with files:
            with open(os.path.join(control, 'requests.txt'), 'a') as log:
                log.write(self.path + '\n')
            plan = os.path.join(control, 'answers.txt')
            answers = open(plan).read().split() if os.path.exists(plan) else []
            if answers:
                with open(plan, 'w') as rest:
                    rest.write(' '.join(answers[1:]))
        if answers:
            self.send_error(int(answers[0]))
            return
        super().do_GET()
    def log_message(self, *arguments):
        pass
handler = functools.partial(Handler, directory=folder)
http.server.ThreadingHTTPServer(('127.0.0.1', port), handler).serve_forever()
