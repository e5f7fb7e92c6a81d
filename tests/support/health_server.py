# The health address of the tests: answers 200 while the patch in FOLDER/deployed.txt is not
# listed in FOLDER/bad.txt, 500 otherwise. Arguments: PORT FOLDER.
import http.server, os, sys
folder = sys.argv[2]
def read(name):
    try:
        with open(os.path.join(folder, name)) as f:
            return f.read().split()
    except OSError:
        return []
class Health(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        deployed = read('deployed.txt')
        good = deployed and deployed[0] not in read('bad.txt')
        self.send_response(200 if good else 500)
        self.send_header('Content-Length', '0')
        self.end_headers()
    def log_message(self, *arguments):
        pass
http.server.ThreadingHTTPServer(('127.0.0.1', int(sys.argv[1])), Health).serve_forever()
