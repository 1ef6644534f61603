// Pictures of the web page for a person to look at: as a 360-pixel phone
// shows it, whole, in Chromium, Firefox and WebKit, light and dark, with the
// worked example answered and saved twice in Mi casa, and in the light once an answer has changed since
// and once a press has failed. Prints the pictures' paths. Needs an X display
// tall enough for the page (WebKit draws into a real window).
//
//     node scripts/web_screenshots.mjs SITE_DIR OUT_DIR
import { byRole, engines, launch } from '../tests/web/browsers.mjs';
import { answer, box, question, workedExample } from '../tests/web/questionnaire.mjs';
import { serveSite } from '../tests/web/serve_site.mjs';

const [site, out] = process.argv.slice(2);
const server = await serveSite(site);
try {
  for (const engine of engines) {
    for (const colorScheme of ['light', 'dark']) {
      const browser = await launch(engine, { colorScheme });
      const page = await browser.newPage({ width: 360, height: 3400 });
      await page.goto(server.url);
      await answer(page, workedExample);
      for (const name of ['Cocina', '']) {
        await page.type(await box(page, 'Nombre de la habitación'), name);
        await page.click(await byRole(page, 'button', 'Guardar en Mi casa'));
      }
      await page.evaluate(() => new Promise((resolve) => setTimeout(resolve, 500)));
      const picture = `${out}/web-${engine}${colorScheme === 'dark' ? '-dark' : ''}.png`;
      await page.screenshot(picture);
      console.log(picture);
      if (colorScheme === 'light') {
        await page.type(await box(page, question[5]), '3');
        await page.screenshot(picture.replace('.png', '-cambiado.png'));
        await answer(page, { texts: { [question[5]]: 'tres' } });
        await page.screenshot(picture.replace('.png', '-error.png'));
        console.log(picture.replace('.png', '-cambiado.png'), picture.replace('.png', '-error.png'));
      }
      await browser.close();
    }
  }
} finally {
  await server.close();
}
