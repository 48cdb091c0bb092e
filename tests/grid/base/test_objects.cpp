// The grid's small objects: the cell-control list and the file picture.
#include <gtest/gtest.h>

#include <QImage>

#include "grid/GridObjects.h"
#include "rtl/Exceptions.h"
#include "vcl/Pictures.h"
#include "vcl/TestCanvases.h"

using namespace grid;

TEST(GridObjects, ControlListOwnsItsEntries) {
  TControlList list;
  list.Add({2, 3, nullptr});
  list.Add({4, 5, nullptr});
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Items(1).Row, 5);
  list.DeleteEntry(0);
  EXPECT_EQ(list.Items(0).Col, 4);
  EXPECT_THROW(list.Items(3), rtl::EListError);
  EXPECT_THROW(list.DeleteEntry(-1), rtl::EListError);
}

TEST(GridObjects, FilePictureKeepsItsNameAndSize) {
  const std::string path = std::string(TOLVANE_BUILD_DIR) + "/grid-file-picture.png";
  QImage image(12, 7, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 255));
  ASSERT_TRUE(image.save(QString::fromStdString(path)));

  TFilePicture picture;
  vcl::TFakeMetricsCanvas canvas(30, 30);
  picture.Draw(&canvas, {0, 0, 30, 30});  // no file: nothing
  EXPECT_EQ(canvas.Pixels(5, 5), 0xFFFFFFu);

  picture.SetFilename(path);
  EXPECT_EQ(picture.Width(), 12);
  EXPECT_EQ(picture.Height(), 7);
  picture.Draw(&canvas, {0, 0, 24, 14});
  EXPECT_EQ(canvas.Pixels(20, 10), 0xFF0000u);  // stretched to the rectangle
  EXPECT_EQ(canvas.Pixels(26, 10), 0xFFFFFFu);

  EXPECT_ANY_THROW(picture.SetFilename(std::string(TOLVANE_BUILD_DIR) + "/no-such-picture.png"));
  EXPECT_EQ(picture.Filename(), std::string(TOLVANE_BUILD_DIR) + "/no-such-picture.png");
  EXPECT_EQ(picture.Width(), 12);

  TFilePicture copy;
  copy.Assign(&picture);
  EXPECT_EQ(copy.Height(), 7);
  EXPECT_EQ(copy.Filename(), picture.Filename());
}
