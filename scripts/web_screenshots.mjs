// Pictures of the web page for a person to look at: as a 360-pixel phone
// and a 1280-pixel desktop show it, whole, in Chromium, Firefox and WebKit,
// light and dark, with the worked example answered and saved twice in Mi
// casa; and on the phone in the light once an answer has changed since and
// once a press has failed. Prints the pictures' paths. Needs an X display
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
    for (const [colorScheme, width] of [['light', 360], ['dark', 360], ['light', 1280], ['dark', 1280]]) {
      const browser = await launch(engine, { colorScheme });
      const page = await browser.newPage({ width, height: width > 360 ? 1600 : 3400 });
      await page.goto(server.url);
      await answer(page, workedExample);
      for (const name of ['Cocina', '']) {
        await page.type(await box(page, 'Nombre de la habitación'), name);
        await page.click(await byRole(page, 'button', 'Guardar en Mi casa'));
      }
      await page.evaluate(() => new Promise((resolve) => {
        scrollTo(0, 0);
        setTimeout(resolve, 500);
      }));
      const picture = `${out}/web-${engine}${width > 360 ? '-escritorio' : ''}${colorScheme === 'dark' ? '-dark' : ''}.png`;
      await page.screenshot(picture);
      console.log(picture);
      if (width > 360) {
        // WebKitGTK paints nothing in a window over about 2000 pixels this wide.
        await page.evaluate(() => scrollTo(0, document.body.scrollHeight));
        await page.screenshot(picture.replace('.png', '-abajo.png'));
        console.log(picture.replace('.png', '-abajo.png'));
      }
      if (colorScheme === 'light' && width === 360) {
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
