#!/usr/bin/python3
"""The page's frame time per model in headless Chromium (SwiftShader), beside
the desktop's (bench/frame_bench under a private Xvfb), run one after the
other per model so that both see the same load. Prints a table with the
ratio page / desktop of the medians.

    bench/web_frame_bench.py SITE_DIR FRAME_BENCH [FRAMES]
"""
import os
import re
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', 'tests', 'web'))
import page_driver  # noqa: E402

MODELS = [10, 11, 12, 13, 14, 15, 16, 17, 0, 1, 2, 3, 4, 5, 6, 7, 20]


def desktop_median(frame_bench, model, frames):
    out = subprocess.run([os.path.join(here, '..', 'tests', 'support', 'with_xvfb.sh'), frame_bench,
                          '--model=%d' % model, '--frames=%d' % frames], check=True, timeout=600,
                         stdout=subprocess.PIPE, text=True).stdout
    for line in out.splitlines():
        cells = [c.strip() for c in line.split('|')]
        if len(cells) > 3 and re.match(r'\d+ ', cells[1]):
            return float(cells[2]), line.strip()
    raise RuntimeError('no figure in:\n' + out)


def main():
    site, frame_bench = sys.argv[1], sys.argv[2]
    frames = int(sys.argv[3]) if len(sys.argv) > 3 else 51
    print('load before: %s' % open('/proc/loadavg').read().strip())
    print('| model | page median ms | page worst ms | desktop median ms | page / desktop |')
    print('|---|---|---|---|---|')
    with page_driver.serve(site) as url:
        browser = page_driver.Browser()
        try:
            browser.open(url + '?size=640x480')
            browser.wait_for('window.fourviewReady', 60)
            for model in MODELS:
                page = browser.evaluate('fourviewBench(%d, %d)' % (model, frames))
                desk, _ = desktop_median(frame_bench, model, frames)
                print('| %d | %.1f | %.1f | %.1f | %.2f |' % (model, page['median'], page['worst'], desk,
                                                             page['median'] / desk), flush=True)
        finally:
            browser.close()
    print('load after: %s' % open('/proc/loadavg').read().strip())


if __name__ == '__main__':
    main()
