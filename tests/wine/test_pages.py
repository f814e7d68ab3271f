"""Every page of the wizard renders in its frame, shown one by one by the page
gallery; a picture of each stays in the artefacts."""

import unittest

import winetest
import wizard


class EveryPageRenders(winetest.SessionTestCase):
    session_name = "pages"
    programs = {"gallery": "VORPANE_PAGE_GALLERY"}

    def test_each_page_shows_in_the_frame(self):
        session = self.session
        for index, page in enumerate(wizard.PAGES):
            with self.subTest(page=page):
                process = session.start(self.gallery, page)
                try:
                    session.wait_window(wizard.ANY_CAPTION, process=process)
                    facts = session.window_facts(wizard.ANY_CAPTION)
                    _, mismatches = wizard.settled_frame(session, f"{index:02d}-{page}", facts)
                    self.assertEqual(facts.client_size, wizard.CLIENT_SIZE)
                    self.assertEqual(mismatches, [])
                finally:
                    session.stop(process)


if __name__ == "__main__":
    unittest.main(verbosity=2)
