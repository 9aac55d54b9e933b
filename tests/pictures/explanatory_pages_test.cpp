// The explanatory pages that ship with the program: every topic that can be
// shown has its pages, the committed GIF files are the rendered sources, the
// text stays in its band, and no text covers a joint or link of the mechanism.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "explanatory_pages.h"
#include "help_pictures.h"
#include "topics/page_catalogue.h"
#include "support/test_form.h"

namespace {

using pm::pictures::kPageHeight;
using pm::pictures::kPageWidth;

const QString kPictures = PLANIMOVE_PICTURES_FOLDER;
const QString kSources = kPictures + "/source/pages";

struct Topic {
  int group, topic;
};

// The last topic of each group that the menus and the topic keys show: 3.9
// is moved on by every rebuild and 10.8 hands the four-bar over to group 1 as
// soon as it is shown, so neither has pages.
const std::map<int, int> kLastTopic = {{1, 6}, {2, 6}, {3, 8}, {4, 7}, {5, 7},
                                       {6, 7}, {7, 8}, {8, 8}, {9, 7}, {10, 7}};

std::vector<Topic> showableTopics() {
  std::vector<Topic> topics;
  for (const auto& [group, last] : kLastTopic)
    for (int t = group == 1 ? 0 : 1; t <= last; ++t) topics.push_back({group, t});
  return topics;
}

QString base(const Topic& t) { return QString("Bild%1%2").arg(t.group).arg(t.topic); }

// The pages of a topic in an edition (Planimove unless asked).
std::vector<pm::pictures::PageSource> pagesOf(const Topic& t, bool rautenwerk = false) {
  QFile f(kSources + "/" + base(t) + ".txt");
  if (!f.open(QIODevice::ReadOnly)) return {};
  QString error;
  auto pages = pm::pictures::topicPages(QString::fromUtf8(f.readAll()), rautenwerk, &error);
  EXPECT_TRUE(error.isEmpty()) << base(t).toStdString() << ": " << error.toStdString();
  return pages;
}

const QString kRautenwerkPictures = kPictures + "/" + pm::pictures::kRautenwerkFolder;

// The state after a rebuild of (group, topic), as the topic keys leave it.
std::pair<double, double> afterStepping(int group, int topic) {
  pm::testing::TestForm t;
  t.form.st.mn1 = group;
  t.form.st.mn2 = topic;
  t.key(5);
  return {t.form.st.mn1, t.form.st.mn2};
}

TEST(ExplanatoryPages, TheTopicListIsWhatTheProgramShows) {
  // Every listed topic stays where it is on a rebuild and the number after
  // the last one leaves the group.
  for (const Topic& t : showableTopics()) {
    const std::pair<double, double> same(t.group, t.topic);
    EXPECT_EQ(afterStepping(t.group, t.topic), same) << t.group << "," << t.topic;
  }
  // Down with the texts off, from the last topic reached by Down.
  for (const auto& [group, last] : kLastTopic) {
    pm::testing::TestForm t;
    t.form.st.qtx = 0;
    t.form.st.mn1 = group;
    t.form.st.mn2 = last;
    t.key(5);
    t.key(40);
    if (group == 10) continue;  // 10.8 hands over to group 1 in the same command
    EXPECT_NE(t.form.st.mn1, group) << "group " << group << " has a topic after " << last;
  }
}

TEST(ExplanatoryPages, EveryTopicHasItsPagesWithoutGapsAndNoOthersExist) {
  std::set<QString> expected;
  for (const Topic& t : showableTopics()) {
    const auto pages = pagesOf(t);
    ASSERT_FALSE(pages.empty()) << "no source for " << base(t).toStdString();
    if (t.group == 1 && t.topic == 0) {
      // Page 10 of the start page would carry the name of group 10, topic 1, page 0.
      EXPECT_LT(pages.size(), 10u);
    }
    for (std::size_t p = 0; p < pages.size(); ++p) {
      const QString name = base(t) + QString::number(p) + ".gif";
      EXPECT_TRUE(expected.insert(name).second) << name.toStdString() << " named twice";
      EXPECT_TRUE(QFile::exists(kPictures + "/" + name)) << name.toStdString() << " missing";
    }
  }
  // No stale page and no source of a topic that cannot be shown.
  const QStringList help = {"BildF1.gif", "BildF8.gif", "Bild000.gif"};
  for (const QString& folder : {kPictures, kRautenwerkPictures})
    for (const QString& file : QDir(folder).entryList({"Bild*.gif"}, QDir::Files)) {
      if (help.contains(file)) continue;
      EXPECT_TRUE(expected.count(file)) << file.toStdString() << " belongs to no page of a source";
    }
  // The core ships exactly these pages.
  std::set<QString> shipped;
  for (const pm::PageRef& p : pm::shippedPages()) shipped.insert(QString::fromStdString(pm::pageFileName(p)));
  EXPECT_EQ(shipped, expected);
  std::set<QString> bases;
  for (const Topic& t : showableTopics()) bases.insert(base(t) + ".txt");
  for (const QString& file : QDir(kSources).entryList({"*.txt"}, QDir::Files))
    EXPECT_TRUE(bases.count(file)) << file.toStdString() << " is no topic that can be shown";
}

TEST(ExplanatoryPages, EachPageFitsItsBandAndTheCommittedGifIsItsRendering) {
  int checked = 0;
  for (const Topic& t : showableTopics()) {
    const auto planimove = pagesOf(t);
    const auto rautenwerk = pagesOf(t, true);
    ASSERT_EQ(planimove.size(), rautenwerk.size());
    for (std::size_t p = 0; p < 2 * planimove.size(); ++p) {
      // Rautenwerk has a page of its own where its text differs (other keys).
      const bool own = p >= planimove.size();
      const std::size_t k = own ? p - planimove.size() : p;
      const QString file = base(t) + QString::number(k) + ".gif";
      if (own && rautenwerk[k].text == planimove[k].text) {
        EXPECT_FALSE(QFile::exists(kRautenwerkPictures + "/" + file)) << file.toStdString() << " of Rautenwerk is Planimove's";
        continue;
      }
      const auto& pages = own ? rautenwerk : planimove;
      const std::size_t page = k;
      const std::string name = (own ? "rautenwerk/" : "") + file.toStdString();
      const auto rendered = pm::pictures::renderPage(pages[page]);
      EXPECT_FALSE(rendered.overflow) << name << ": does not fit: " << rendered.overflowText.toStdString();
      const auto palette = pm::pictures::toTransparentPalette(rendered);
      // The text's colours are no greys (but white), however the window blends
      // them: a grey edge would count as a grid line or a data listing.
      for (int i = 1; i <= 16; ++i) {
        const auto& c = palette.palette[static_cast<std::size_t>(i)];
        ASSERT_TRUE(c[2] != c[0] || c[0] == 255) << name << " colour " << i;
      }
      QImage gif((own ? kRautenwerkPictures : kPictures) + "/" + file);
      ASSERT_FALSE(gif.isNull()) << name;
      ASSERT_EQ(gif.size(), QSize(kPageWidth, kPageHeight)) << name;
      gif = gif.convertToFormat(QImage::Format_ARGB32);
      int differ = 0, ink = 0;
      for (int y = 0; y < kPageHeight; ++y)
        for (int x = 0; x < kPageWidth; ++x) {
          const bool inked = palette.pixels[static_cast<std::size_t>(y) * kPageWidth + x] != 0;
          ink += inked;
          differ += inked != (qAlpha(gif.pixel(x, y)) != 0);
          if (inked) {
            ASSERT_GE(x, pm::pictures::kBandLeft - 2) << name;
            ASSERT_LE(x, pm::pictures::kBandRight + 2) << name;
            ASSERT_LE(y, pm::pictures::kBandBottom) << name;
          }
        }
      EXPECT_GT(ink, 500) << name << " has no text";
      // The same fonts render the same pixels; a few may differ in hinting.
      EXPECT_LT(differ, ink / 100 + 20) << name << ".gif is not the rendering of its source "
                                        << "(cmake --build build --target help-pictures)";
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

// Joints and links as the display list draws them: the wide lines of the
// links, the arrows, the joint circles and the pivot discs, with their width.
void addToMask(QImage& mask, const pm::DisplayList& list) {
  QPainter p(&mask);
  p.translate(0, -40);  // the page's top-left corner is at (0, 40)
  for (const pm::Primitive& prim : list) {
    if (prim.kind == pm::Primitive::Kind::Line && prim.width >= 3) {
      p.setPen(QPen(Qt::white, prim.width, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(prim.x1, prim.y1), QPointF(prim.x2, prim.y2));
    } else if (prim.kind == pm::Primitive::Kind::Circle && prim.r >= 6 && prim.r <= 16) {
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      const double r = prim.r + prim.width / 2;
      p.drawEllipse(QPointF(prim.x1, prim.y1), r, r);
    }
  }
}

// The picture of (group, topic, page) for a mechanism type at its start position.
pm::DisplayList pictureOf(int type, int group, int topic, int page, std::string* background = nullptr) {
  pm::testing::TestForm form;
  form.form.st.mn0 = type;
  form.form.st.mn1 = group;
  form.form.st.mn2 = topic;
  form.form.st.mn5 = page;
  form.key(5);
  if (background) *background = form.host.background;
  return form.picture();
}

int coveredPixels(const pm::PaletteImage& ink, const QImage& mask, QPoint* first) {
  int covered = 0;
  for (int y = 0; y < kPageHeight; ++y)
    for (int x = 0; x < kPageWidth; ++x)
      if (ink.pixels[static_cast<std::size_t>(y) * kPageWidth + x] != 0 && qGray(mask.pixel(x, y)) > 0) {
        if (covered++ == 0) *first = QPoint(x, y + 40);
      }
  return covered;
}

TEST(ExplanatoryPages, TheCoverCheckSeesALinkUnderTheText) {
  // A link across the band, under the body text of the first page.
  pm::Primitive link;
  link.kind = pm::Primitive::Kind::Line;
  link.x1 = 20, link.y1 = 85, link.x2 = 800, link.y2 = 85, link.width = 10;
  QImage mask(kPageWidth, kPageHeight, QImage::Format_Grayscale8);
  mask.fill(0);
  addToMask(mask, {link});
  const auto pages = pagesOf({1, 1});
  ASSERT_FALSE(pages.empty());
  QPoint first;
  EXPECT_GT(coveredPixels(pm::pictures::toTransparentPalette(pm::pictures::renderPage(pages[0])), mask, &first), 50);
  EXPECT_NEAR(first.y(), 85, 6);
}

TEST(ExplanatoryPages, NoPageZeroCoversTheMechanismOrThePlansOfTypesOneToEight) {
  // Per type: the standard picture (joints and links), the velocity plan and
  // the acceleration plan with the arrows at the joints.
  std::vector<QImage> masks;
  for (int type = 1; type <= 8; ++type) {
    QImage mask(kPageWidth, kPageHeight, QImage::Format_Grayscale8);
    mask.fill(0);
    addToMask(mask, pictureOf(type, 1, 1, 0));
    addToMask(mask, pictureOf(type, 2, 5, 0));
    addToMask(mask, pictureOf(type, 3, 4, 0));
    masks.push_back(mask);
  }
  for (const Topic& t : showableTopics()) {
    if (t.group > 8 || (t.group == 1 && t.topic == 0)) continue;
    const auto pages = pagesOf(t);
    if (pages.empty()) {
      ADD_FAILURE() << "no source for " << base(t).toStdString();
      continue;
    }
    const auto ink = pm::pictures::toTransparentPalette(pm::pictures::renderPage(pages[0]));
    for (int type = 1; type <= 8; ++type) {
      // The picture of the topic shows this very page over the mechanism of the type.
      std::string background;
      pictureOf(type, t.group, t.topic, 0, &background);
      ASSERT_EQ(background, (base(t) + "0.gif").toStdString());
      QPoint first;
      EXPECT_EQ(coveredPixels(ink, masks[type - 1], &first), 0)
          << base(t).toStdString() << "0.gif covers the mechanism or a plan of type " << type << " at ("
          << first.x() << ", " << first.y() << ")";
    }
  }
}

TEST(ExplanatoryPages, SwatchesShowTheColoursThatTheLettersDraw) {
  // [=m]: palette colour m at the start intensities (the crank); [k]: fixed
  // colour k (velocity arrows); an unknown letter draws no swatch.
  pm::pictures::PageSource page;
  page.text = "# Titel\n[=m] Kurbel X-A\nPfeile [k] grün und [q] kein Feld\n>>\n- Punkt\n";
  const auto rendered = pm::pictures::renderPage(page);
  ASSERT_EQ(rendered.swatches.size(), 2u);
  EXPECT_EQ(rendered.swatches[0].colour, QColor(255, 128, 128));
  EXPECT_EQ(rendered.swatches[1].colour, QColor(0, 255, 0));
  EXPECT_FALSE(rendered.overflow);
  const auto gif = pm::pictures::toTransparentPalette(rendered);
  const QRect first = rendered.swatches[0].inside;
  const auto& c = gif.palette[gif.pixels[static_cast<std::size_t>(first.center().y()) * kPageWidth + first.center().x()]];
  EXPECT_EQ(c, (std::array<std::uint8_t, 3>{255, 128, 128}));
  // The second column starts at the middle of the band.
  EXPECT_GT(rendered.swatches[1].inside.left(), pm::pictures::kBandLeft + 20);
}

TEST(ExplanatoryPages, TextBeyondTheBandIsReportedAsOverflow) {
  pm::pictures::PageSource page;
  page.text = "# Zu lang\n";
  for (int i = 0; i < 40; ++i) page.text += "Eine Zeile Text, die eine ganze Spalte füllt und noch etwas weiter geht.\n";
  const auto rendered = pm::pictures::renderPage(page);
  EXPECT_TRUE(rendered.overflow);
  EXPECT_FALSE(rendered.overflowText.isEmpty());
}

TEST(HelpPictures, EveryRowFitsAndTheCommittedGifIsTheRenderingOfItsSource) {
  for (const char* name : {"BildF1", "BildF8", "Bild000"}) {
    QFile f(kPictures + "/source/" + name + ".txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    bool fits = false;
    const QImage drawn = pm::pictures::renderHelpPicture(QString::fromUtf8(f.readAll()), &fits);
    EXPECT_TRUE(fits) << name << ": rows beyond the picture";
    const QImage gif = QImage(kPictures + "/" + name + ".gif").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(gif.size(), drawn.size()) << name;
    int differ = 0;
    for (int y = 0; y < gif.height(); ++y)
      for (int x = 0; x < gif.width(); ++x) differ += std::abs(qGray(gif.pixel(x, y)) - qGray(drawn.pixel(x, y))) > 40;
    EXPECT_LT(differ, 200) << name << ".gif is not the rendering of its source "
                           << "(cmake --build build --target help-pictures)";
  }
  // A source with more rows than fit even at the smallest font is refused.
  QString crowded = "# Zu viele Zeilen\n## Tasten\n";
  for (int i = 0; i < 200; ++i) crowded += QString("Taste %1|eine recht lange Bedeutung der Taste, die Platz braucht\n").arg(i);
  bool fits = true;
  pm::pictures::renderHelpPicture(crowded, &fits);
  EXPECT_FALSE(fits);
}

TEST(ExplanatoryPages, TheTransparentIndexDecodesAsTransparent) {
  pm::PaletteImage img;
  img.width = 4;
  img.height = 1;
  img.palette = {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}};
  img.transparentIndex = 0;
  img.pixels = {0, 1, 2, 0};
  const auto bytes = pm::encodeGif(img);
  QImage back;
  ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "GIF"));
  back = back.convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
  EXPECT_EQ(back.pixel(1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(back.pixel(2, 0), qRgb(255, 0, 0));
  EXPECT_EQ(qAlpha(back.pixel(3, 0)), 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
