#include "TestSupport.h"
#include "report/model/Fr3Reader.h"
#include "report/model/Picture.h"
#include "report/model/PropertyStream.h"
#include "report/model/XmlText.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using namespace std::string_literals;

std::string hexOf(std::string_view bytes) {
    return encodeHex(bytes);
}

std::unique_ptr<Component> reportWithPropData(const std::string& hex, std::vector<LoadError>& errors) {
    auto report = std::make_unique<Component>("TfrxReport");
    report->appendAttribute("Name", "");
    report->appendAttribute("PropData", hex);
    report->appendChild("TfrxDataPage");
    expandReportPropertyData(*report, CodePage::Windows1254, errors);
    return report;
}

// Report data as 4.0 to 4.15 write it: lists of lists of attribute runs (one in the Windows code page).
TEST(ReportPropertyData, ListFormBecomesDatasetsVariablesAndStyles) {
    std::string stream;
    stream += "\x04Left\x02\x10\x03Top\x03\xD9\x00"s;
    stream += "\x08"
              "Datasets\x01\x01\x06\x26 DataSet=\"dsData\" DataSetName=\"dsData\"\x00\x00"s;
    stream +=
        "\x09Variables\x01\x01\x0C\x16\x00\x00\x00 Name=\" New Category1\"\x00\x01\x06\x14 Name=\"KD\" Value=\"0\"\x00\x00"s;
    stream += "\x05Style\x01\x01\x06\x0E Name=\"Ba\xFEl\xFD\xDF\"\x00\x00"s;
    std::vector<LoadError> errors;
    auto report = reportWithPropData(hexOf(stream), errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(report->hasAttribute("PropData"));
    ASSERT_EQ(report->childCount(), 4u);
    const Component& datasets = report->child(0);
    EXPECT_EQ(datasets.className(), "Datasets");
    ASSERT_EQ(datasets.childCount(), 1u);
    EXPECT_EQ(datasets.child(0).attribute("DataSet"), "dsData");
    EXPECT_EQ(datasets.child(0).attribute("DataSetName"), "dsData");
    const Component& variables = report->child(1);
    EXPECT_EQ(variables.className(), "Variables");
    ASSERT_EQ(variables.childCount(), 2u);
    EXPECT_EQ(variables.child(0).attribute("Name"), " New Category1");
    EXPECT_FALSE(variables.child(0).hasAttribute("Value"));
    EXPECT_EQ(variables.child(1).attribute("Value"), "0");
    EXPECT_EQ(report->child(2).className(), "Styles");
    EXPECT_EQ(report->child(2).child(0).attribute("Name"), "Ba\xC5\x9Fl\xC4\xB1\xC3\x9F");
    EXPECT_EQ(report->child(3).className(), "TfrxDataPage");
}

// The collection form of the oldest template in the corpus (01-agenda1-Report.fr3).
TEST(ReportPropertyData, CollectionFormBecomesDatasets) {
    const std::string hex =
        "044C65667403580303546F700390000844617461736574730E0107446174615365740713466F726D312E6672784442446174"
        "61736574310B446174615365744E616D65060D667278444244617461736574310000095661726961626C65730E0005537479"
        "6C650E00";
    std::vector<LoadError> errors;
    auto report = reportWithPropData(hex, errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(report->hasAttribute("PropData"));
    ASSERT_EQ(report->childCount(), 2u); // empty Variables and Style add nothing
    const Component& item = report->child(0).child(0);
    EXPECT_EQ(item.attribute("DataSet"), "Form1.frxDBDataset1");
    EXPECT_EQ(item.attribute("DataSetName"), "frxDBDataset1");
}

TEST(ReportPropertyData, DamagedDataIsKeptUntouchedWithAnError) {
    const std::string damaged[] = {"04446174", "XYZ1", "0844617461736574730E01"};
    for (const std::string& hex : damaged) {
        SCOPED_TRACE(hex);
        std::vector<LoadError> errors;
        auto report = reportWithPropData(hex, errors);
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].message.find("PropData"), std::string::npos);
        EXPECT_EQ(report->attribute("PropData"), hex);
        EXPECT_EQ(report->childCount(), 1u);
    }
}

TEST(ReportPropertyData, AttributeRunsMustBeWellFormed) {
    std::vector<Attribute> attributes;
    EXPECT_TRUE(parseAttributeRun(" Name=\"a&#34;b\"  Value='1' ", attributes));
    ASSERT_EQ(attributes.size(), 2u);
    EXPECT_EQ(attributes[0].value, "a\"b");
    EXPECT_EQ(attributes[1].value, "1");
    for (const char* bad : {" Na]me=\"x\"", " Name=x", " Name=\"x", " =\"x\"", " 1a=\"x\""}) {
        std::vector<Attribute> ignored;
        EXPECT_FALSE(parseAttributeRun(bad, ignored)) << bad;
    }
}

TEST(ReportPropertyData, UnknownPropertiesStayInPropData) {
    StreamProperty known{"Variables", {}};
    known.value.tag = StreamTag::List;
    StreamProperty unknown{"Extra", {}};
    unknown.value.tag = StreamTag::Set;
    unknown.value.setMembers = {"one", "two"};
    std::vector<LoadError> errors;
    auto report = reportWithPropData(encodeHex(encodePropertyStream({known, unknown})), errors);
    EXPECT_TRUE(errors.empty());
    const PropertyStream rest =
        decodePropertyStream(*decodeHex(report->attribute("PropData")), CodePage::Windows1252);
    ASSERT_TRUE(rest.ok());
    ASSERT_EQ(rest.properties.size(), 1u);
    EXPECT_EQ(rest.properties[0].name, "Extra");
    EXPECT_EQ(rest.properties[0].value.setMembers, (std::vector<std::string>{"one", "two"}));
}

TEST(PropertyStream, ValuesReadBackAfterEncoding) {
    std::vector<StreamProperty> properties(8);
    properties[0] = {"Small", {StreamTag::Int8, -5}};
    properties[1] = {"Large", {StreamTag::Int32, 70000}};
    properties[2] = {"Huge", {StreamTag::Int64, int64_t(1) << 40}};
    properties[3].name = "Text";
    properties[3].value.tag = StreamTag::String;
    properties[3].value.text = "ñandú";
    properties[4] = {"Flag", {StreamTag::True}};
    properties[5].name = "Ratio";
    properties[5].value.tag = StreamTag::Double;
    properties[5].value.number = 2.5;
    properties[6].name = "Blob";
    properties[6].value.tag = StreamTag::Binary;
    properties[6].value.text = std::string("\0\1\2", 3);
    properties[7].name = "Items";
    properties[7].value.tag = StreamTag::Collection;
    StreamItem item;
    item.properties.push_back({"Name", {StreamTag::Identifier}});
    item.properties[0].value.text = "x";
    properties[7].value.items.push_back(item);
    const PropertyStream decoded =
        decodePropertyStream(encodePropertyStream(properties), CodePage::Windows1252);
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    ASSERT_EQ(decoded.properties.size(), 8u);
    EXPECT_EQ(decoded.properties[0].value.integer, -5);
    EXPECT_EQ(decoded.properties[1].value.integer, 70000);
    EXPECT_EQ(decoded.properties[2].value.integer, int64_t(1) << 40);
    EXPECT_EQ(decoded.properties[3].value.text, "ñandú");
    EXPECT_EQ(decoded.properties[4].value.asPropertyText(), "True");
    EXPECT_EQ(decoded.properties[5].value.number, 2.5);
    EXPECT_EQ(decoded.properties[6].value.text, std::string("\0\1\2", 3));
    EXPECT_EQ(decoded.properties[7].value.items.at(0).properties.at(0).value.text, "x");
}

TEST(PropertyStream, TruncatedOrHostileStreamsStopWithAReason) {
    const std::string cases[] = {
        "\x04"
        "Data\x0A\xFF\xFF\xFF\x7F"s,        // binary longer than the stream
        "\x04Left\x03\x01"s,                // half an integer
        "\x01X\x16"s,                       // unknown tag
        "\x01X" + std::string(200, '\x01'), // lists nested without end
        "\x01X\x12\xFF\xFF\xFF\xFF"s,       // wide string longer than the stream
    };
    for (const std::string& bytes : cases) {
        const PropertyStream stream = decodePropertyStream(bytes, CodePage::Windows1252);
        EXPECT_FALSE(stream.ok());
    }
}

TEST(Picture, CorpusPicturesDecodeByFormatAndReencodeExactly) {
    struct Expected {
        const char* file;
        const char* graphicClass;
        ImageFormat format;
        Picture::Layout layout;
    };
    const Expected cases[] = {
        {"18-cactuspv-CotizacionGrande.fr3", "TPNGObject", ImageFormat::Png, Picture::Layout::Plain},
        {"10-autorev-RelatorioCaixa.fr3", "TJPEGImage", ImageFormat::Jpeg, Picture::Layout::SizePrefixed},
        {"23-caiman-erp-pdv-BoletoExtrato.fr3", "TBitmap", ImageFormat::Bmp, Picture::Layout::SizePrefixed},
        {"22-cactuspv-FacturaTicket.fr3", "TPNGObject", ImageFormat::Png, Picture::Layout::Plain},
    };
    for (const Expected& c : cases) {
        SCOPED_TRACE(c.file);
        const ReadResult result =
            Fr3Reader(CodePage::Windows1252).read(testing::readFile(testing::corpusFile(c.file)));
        const Component* picture = nullptr;
        walkTree(*result.root, [&](const Component& component, size_t) {
            if (!picture && component.className() == "TfrxPictureView" &&
                component.hasAttribute("Picture.PropData"))
                picture = &component;
            return !picture;
        });
        ASSERT_NE(picture, nullptr);
        std::string error;
        const auto decoded = decodePicturePropData(picture->attribute("Picture.PropData"), &error);
        ASSERT_TRUE(decoded) << error;
        EXPECT_EQ(decoded->graphicClass, c.graphicClass);
        EXPECT_EQ(decoded->format(), c.format);
        EXPECT_EQ(decoded->layout, c.layout);
        EXPECT_EQ(encodePicturePropData(*decoded), picture->attribute("Picture.PropData"));
    }
}

TEST(Picture, BitmapUnderAPngClassNameAndUnknownBytesAreKept) {
    // 22-cactuspv-FacturaTicket.fr3 stores a BMP under "TPNGGraphic", with its size first.
    const ReadResult result =
        Fr3Reader(CodePage::Windows1252)
            .read(testing::readFile(testing::corpusFile("22-cactuspv-FacturaTicket.fr3")));
    const Component* big = result.root->findByName("Picture1");
    ASSERT_NE(big, nullptr);
    const auto bitmap = readPicture(*big);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->graphicClass, "TPNGGraphic");
    EXPECT_EQ(bitmap->format(), ImageFormat::Bmp);
    EXPECT_EQ(bitmap->layout, Picture::Layout::SizePrefixed);

    Component view("TfrxPictureView");
    const Picture odd{"TMetafileLike", std::string("\x01\x02\x03\x04\x05", 5), Picture::Layout::Plain};
    writePicture(view, odd);
    EXPECT_EQ(readPicture(view), odd);
    writePicture(view, Picture{});
    EXPECT_FALSE(view.hasAttribute("Picture.PropData"));
    EXPECT_FALSE(decodePicturePropData("0444617461").has_value());
}

TEST(Picture, NewPicturesGetTheClassOfTheirFormat) {
    const Picture png = pictureFromImage(std::string("\x89PNG\r\n\x1a\nrest", 12));
    EXPECT_EQ(png.graphicClass, "TPNGObject");
    const Picture jpeg = pictureFromImage(std::string("\xFF\xD8\xFF\xE0rest", 8));
    EXPECT_EQ(jpeg.graphicClass, "TJPEGImage");
    EXPECT_EQ(jpeg.layout, Picture::Layout::SizePrefixed);
    EXPECT_EQ(decodePicturePropData(encodePicturePropData(jpeg)), jpeg);
}

TEST(RichText, CorpusRichTextIsReadAsBytesAndWrittenBack) {
    const ReadResult result =
        Fr3Reader(CodePage::Windows1252)
            .read(testing::readFile(testing::corpusFile("28-caiman-erp-pdv-VendasSimples.fr3")));
    Component* rich = result.root->findByName("Rich1");
    ASSERT_NE(rich, nullptr);
    const std::string original(rich->attribute("PropData"));
    const auto text = readRichText(*rich);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->starts_with("{\\rtf1"));
    writeRichText(*rich, *text);
    EXPECT_EQ(rich->attribute("PropData"), original);
}

} // namespace
} // namespace velkaro::report
