#!/usr/bin/env python3
"""A published release served by a real static web server on 127.0.0.1.

The programs append a listed name such as "skin\\bg.png" to the base address
unchanged. Whether a client sends that backslash raw, percent-encoded or
turned into "/", `python3 -m http.server` serving the published folder must
answer with the file's bytes. Then the folder is checked, tampered with, and
checked again.

Usage: served_over_http.py PATH-TO-qinghe-publish
"""
import http.client
import os
import subprocess
import sys
import tempfile

publish = sys.argv[1]
passed = []
failures = []


def expect(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    (passed if condition else failures).append(what)


with tempfile.TemporaryDirectory() as work:
    release = os.path.join(work, "release")
    os.makedirs(os.path.join(release, "skin"))
    files = {"QingheCalc.exe": b"MZ calculator", os.path.join("skin", "bg.png"): b"\x89PNG\r\n\x1a\n\0\xff"}
    for name, data in files.items():
        with open(os.path.join(release, name), "wb") as f:
            f.write(data)
    notes = os.path.join(work, "notes.txt")
    with open(notes, "w", encoding="utf-8") as f:
        f.write("修正了月供的计算。\n")
    root = os.path.join(work, "www")
    server_dir = os.path.join(root, "qingheupdate")
    result = subprocess.run([publish, "--release", release, "--version", "1.0.0.506",
                             "--notes", notes, "--out", server_dir])
    expect(result.returncode == 0, "publish exits 0")

    server = subprocess.Popen([sys.executable, "-u", "-m", "http.server", "--bind", "127.0.0.1",
                               "--directory", root, "0"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        # "Serving HTTP on 127.0.0.1 port 41234 (http://127.0.0.1:41234/) ..."
        line = server.stdout.readline()
        port = int(line.split(" port ")[1].split()[0])

        def get(path):
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
            connection.request("GET", path)
            response = connection.getresponse()
            body = response.read()
            connection.close()
            return response.status, body

        for path in ["/qingheupdate/skin\\bg.png", "/qingheupdate/skin%5Cbg.png",
                     "/qingheupdate/skin%5cbg.png", "/qingheupdate/skin/bg.png"]:
            status, body = get(path)
            expect(status == 200 and body == files[os.path.join("skin", "bg.png")], "GET " + path)
        status, body = get("/qingheupdate/version.txt")
        expect(status == 200 and body == b"1.0.0.506", "GET version.txt is the version, nothing more")
        for document in ["renew.xml", "renewlist.xml", "QingheCalc.exe"]:
            status, body = get("/qingheupdate/" + document)
            expect(status == 200 and len(body) > 0, "GET " + document)
    finally:
        server.terminate()
        server.wait(timeout=10)

    result = subprocess.run([publish, "--check", server_dir], capture_output=True)
    expect(result.returncode == 0, "the published folder passes --check")
    with open(os.path.join(server_dir, "skin\\bg.png"), "wb") as f:
        f.write(b"tampered")
    result = subprocess.run([publish, "--check", server_dir], capture_output=True)
    expect(result.returncode == 1 and "skin\\bg.png".encode() in result.stdout,
           "the copy that raw backslashes reach is checked too")

print("%d passed, %d failed" % (len(passed), len(failures)))
sys.exit(1 if failures else 0)
