#!/usr/bin/python3
"""Prints a link's page to PDF in WebKitGTK, as its print dialog does on A4 at
the default margins, with Mi casa's document in its storage: the print path
that WebKit's WebDriver cannot reach.

    webkit_print.py LINK DOCUMENT OUT.pdf
"""
import json
import sys
import tempfile
import urllib.parse

import gi

gi.require_version('Gtk', '3.0')
gi.require_version('WebKit2', '4.1')
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

READY = """document.getElementById('resultado').textContent !== '' &&
  document.querySelectorAll('#habitaciones li').length === %d"""


def main(link, document, out):
    rooms = len(json.loads(document)['habitaciones']) if document else 0
    with tempfile.TemporaryDirectory(ignore_cleanup_errors=True) as profile:
        view = WebKit2.WebView.new_with_context(WebKit2.WebContext.new_with_website_data_manager(
            WebKit2.WebsiteDataManager(base_data_directory=profile, base_cache_directory=profile)))
        window = Gtk.Window()
        window.add(view)
        window.show_all()
        failed = []
        address = urllib.parse.urlsplit(link)
        # The storage first, at the page's origin; then the link under another
        # address, which loads the page anew.
        steps = [lambda: view.evaluate_javascript(f'localStorage.setItem("klimora.mi-casa", {json.dumps(document)})'
                                                  if document else 'localStorage.clear()', -1, None, None, None,
                                                  lambda *_: view.load_uri(address._replace(query='imprimir').geturl())),
                 lambda: ask()]

        def ask():
            view.evaluate_javascript(READY % rooms, -1, None, None, None, answered)

        def answered(view, result):
            if view.evaluate_javascript_finish(result).to_boolean():
                print_page()
            else:
                GLib.timeout_add(50, ask)

        def print_page():
            settings = Gtk.PrintSettings()
            settings.set_printer('Print to File')
            settings.set(Gtk.PRINT_SETTINGS_OUTPUT_URI, f'file://{out}')
            setup = Gtk.PageSetup()
            setup.set_paper_size_and_default_margins(Gtk.PaperSize.new(Gtk.PAPER_NAME_A4))
            operation = WebKit2.PrintOperation.new(view)
            operation.set_print_settings(settings)
            operation.set_page_setup(setup)
            operation.connect('finished', lambda _: Gtk.main_quit())
            operation.connect('failed', lambda _, error: give_up(error.message))
            operation.print_()

        def give_up(why):
            failed.append(why)
            Gtk.main_quit()

        view.connect('load-changed', lambda _, event: event == WebKit2.LoadEvent.FINISHED and steps.pop(0)())
        view.load_uri(f'{address.scheme}://{address.netloc}{address.path}')
        GLib.timeout_add_seconds(60, lambda: give_up('the page was not ready within a minute'))
        Gtk.main()
        if failed:
            sys.exit(f'{link}: {failed[0]}')


if __name__ == '__main__':
    main(*sys.argv[1:])
