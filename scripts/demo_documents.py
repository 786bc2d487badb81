#!/usr/bin/env python3
"""Writes the demo disc's documents: a small real PDF (Docs/Intro.pdf) and a compiled help file
(Docs/Vantrel.chm, built with chmcmd from package fp-utils).

usage: demo_documents.py <disc folder>
"""
import subprocess
import sys
import tempfile
from pathlib import Path


def write_pdf(path):
    lines = ["What's New in Vantrel v1.0", "", "- Reads the Fendrik 3 meter over USB.",
             "- Exports measurement series as CSV.", "- New trend view with zoom and markers."]
    text = "BT /F1 18 Tf 72 760 Td 24 TL " + " ".join(
        "(" + line.replace("\\", "\\\\").replace("(", "\\(").replace(")", "\\)") + ") '" for line in lines) + " ET"
    objects = [
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        f"<< /Length {len(text)} >>\nstream\n{text}\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    ]
    out = b"%PDF-1.4\n"
    offsets = []
    for number, body in enumerate(objects, start=1):
        offsets.append(len(out))
        out += f"{number} 0 obj\n{body}\nendobj\n".encode()
    xref = len(out)
    out += f"xref\n0 {len(objects) + 1}\n0000000000 65535 f \n".encode()
    out += b"".join(f"{o:010d} 00000 n \n".encode() for o in offsets)
    out += f"trailer\n<< /Size {len(objects) + 1} /Root 1 0 R >>\nstartxref\n{xref}\n%%EOF\n".encode()
    path.write_bytes(out)


def write_chm(path):
    with tempfile.TemporaryDirectory() as work:
        w = Path(work)
        (w / "index.html").write_text(
            "<html><head><title>Vantrel User Manual</title></head><body><h1>Vantrel User Manual</h1>"
            "<p>Connect the Fendrik 3 meter, start Vantrel and choose <b>Measure</b>.</p></body></html>\n")
        (w / "toc.hhc").write_text(
            '<html><body><ul><li><object type="text/sitemap"><param name="Name" value="Vantrel User Manual">'
            '<param name="Local" value="index.html"></object></ul></body></html>\n')
        (w / "Vantrel.hhp").write_text(
            "[OPTIONS]\nCompiled file=Vantrel.chm\nContents file=toc.hhc\nDefault topic=index.html\n"
            "Title=Vantrel User Manual\nLanguage=0x409 English (United States)\n\n[FILES]\nindex.html\n")
        subprocess.run(["chmcmd", "Vantrel.hhp"], cwd=w, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        path.write_bytes((w / "Vantrel.chm").read_bytes())


if __name__ == "__main__":
    docs = Path(sys.argv[1]) / "Docs"
    docs.mkdir(parents=True, exist_ok=True)
    write_pdf(docs / "Intro.pdf")
    write_chm(docs / "Vantrel.chm")
