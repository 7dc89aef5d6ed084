#include "metadata/UnitExifTags.h"

#include <array>
#include <cstdio>

#include "platform/UnitText.h"

namespace {

constexpr std::array<TExifTag, 95> kTags = {{
    {u"X_IW", 256, u"ImageWidth"},
    {u"X_IL", 257, u"ImageLength"},
    {u"X_BPS", 258, u"BitsPerSample"},
    {u"X_C", 259, u"Compression"},
    {u"X_PI", 262, u"PhotometricInterpretation"},
    {u"X_FO", 266, u"FillOrder"},
    {u"X_DN", 269, u"DocumentName"},
    {u"X_ID", 270, u"ImageDescription"},
    {u"X_Ma", 271, u"Make"},
    {u"X_Mo", 272, u"Model"},
    {u"X_SO", 273, u"StripOffsets"},
    {u"X_O", 274, u"Orientation"},
    {u"X_SPP", 277, u"SamplesPerPixel"},
    {u"X_RPS", 278, u"RowsPerStrip"},
    {u"X_SBC", 279, u"StripByteCounts"},
    {u"X_XR", 282, u"XResolution"},
    {u"X_YR", 283, u"YResolution"},
    {u"X_PC", 284, u"PlanarConfiguration"},
    {u"X_RU", 296, u"ResolutionUnit"},
    {u"X_TF", 301, u"TransferFunction"},
    {u"X_S", 305, u"Software"},
    {u"X_DT", 306, u"DateTime"},
    {u"X_A", 315, u"Artist"},
    {u"X_WP", 318, u"WhitePoint"},
    {u"X_PCr", 319, u"PrimaryChromaticities"},
    {u"X_TR", 342, u"TransferRange"},
    {u"X_JPEGP", 512, u"JPEGProc"},
    {u"X_TO", 513, u"ThumbnailOffset"},
    {u"X_TL", 514, u"ThumbnailLength"},
    {u"X_YCCC", 529, u"YCbCrCoefficients"},
    {u"X_YCCSS", 530, u"YCbCrSubSampling"},
    {u"X_YCCP", 531, u"YCbCrPositioning"},
    {u"X_RBW", 532, u"ReferenceBlackWhite"},
    {u"X_SOf", 627, u"StripOffset"},
    {u"X_GPSI", 34853, u"GPSInfo"},
    {u"X_EO", 34665, u"ExifOffset"},
    {u"X_II", 1, u""},
    {u"X_ET", 33434, u"ExposureTime"},
    {u"X_FN", 33437, u"FNumber"},
    {u"X_EP", 34850, u"ExposureProgram"},
    {u"X_ISOSR", 34855, u"ISOSpeedRatings"},
    {u"X_OEC", 34856, u"OECF"},
    {u"X_EV", 36864, u"ExifVersion"},
    {u"X_DTO", 36867, u"DateTimeOriginal"},
    {u"X_DTD", 36868, u"DateTimeDigitized"},
    {u"X_CC", 37121, u"ComponentsConfiguration"},
    {u"X_CBPP", 37122, u"CompressedBitsPerPixel"},
    {u"X_SSV", 37377, u"ShutterSpeedValue"},
    {u"X_AV", 37378, u"ApertureValue"},
    {u"X_BV", 37379, u"BrightnessValue"},
    {u"X_EBV", 37380, u"ExposureBiasValue"},
    {u"X_MAV", 37381, u"MaxApertureValue"},
    {u"X_SD", 37382, u"SubjectDistance"},
    {u"X_MM", 37383, u"MeteringMode"},
    {u"X_LS", 37384, u"LightSource"},
    {u"X_F", 37385, u"Flash"},
    {u"X_FL", 37386, u"FocalLength"},
    {u"X_MN", 37500, u"MakerNote"},
    {u"X_UC", 37510, u"UserComment"},
    {u"X_FPV", 40960, u"FlashPixVersion"},
    {u"X_CS", 40961, u"ColorSpace"},
    {u"X_EIW", 40962, u"ExifImageWidth"},
    {u"X_EIL", 40963, u"ExifImageLength"},
    {u"X_IO", 40965, u"InteroperabilityOffset"},
    {u"X_FE", 41483, u"FlashEnergy"},
    {u"X_SFR", 41484, u"SpatialFrequencyResponse"},
    {u"X_FPXR", 41486, u"FocalPlaneXResolution"},
    {u"X_FPYR", 41487, u"FocalPlaneYResolution"},
    {u"X_FPRU", 41488, u"FocalPlaneResolutionUnit"},
    {u"X_SL", 41492, u"SubjectLocation"},
    {u"X_EI", 41493, u"ExposureIndex"},
    {u"X_SM", 41495, u"SensingMethod"},
    {u"X_FS", 41728, u"FileSource"},
    {u"X_ST", 41729, u"SceneType"},
    {u"X_CFARPD", 33421, u"CFARepeatPatternDim"},
    {u"X_CFAP", 33422, u"CFAPattern"},
    {u"X_BL", 33423, u"BatteryLevel"},
    {u"X_Co", 33432, u"Copyright"},
    {u"X_IPTCNA", 33723, u"IPTC/NAA"},
    {u"X_ICP", 34675, u"InterColorProfile"},
    {u"X_SS", 34852, u"SpectralSensitivity"},
    {u"X_SST", 37520, u"SubSecTime"},
    {u"X_SSTO", 37521, u"SubSecTimeOriginal"},
    {u"X_SSTD", 37522, u"SubSecTimeDigitized"},
    {u"X_CR", 41985, u"CustomRendered"},
    {u"X_EM", 41986, u"ExposureMode"},
    {u"X_WB", 41987, u"WhiteBalance"},
    {u"X_DZR", 41988, u"DigitalZoomRatio"},
    {u"X_FL35", 41989, u"FocalLength35"},
    {u"X_SCT", 41990, u"SceneCaptureType"},
    {u"X_GC", 41991, u"GainControl"},
    {u"X_Cn", 41992, u"Contrast"},
    {u"X_Sa", 41993, u"Saturation"},
    {u"X_Sh", 41994, u"Sharpness"},
    {u"X_SDR", 41996, u"SubjectDistanceRange"},
}};

}  // namespace

std::span<const TExifTag> ExifTagTable() { return kTags; }

std::optional<uint16_t> GetTagNumber(std::u16string_view code) {
  const std::u16string upper = AsciiUpperCase(code);
  for (const TExifTag& entry : kTags) {
    if (entry.code.size() == upper.size() && AsciiUpperCase(entry.code) == upper) return entry.tag;
  }
  return std::nullopt;
}

std::u16string GetTagName(uint16_t tag) {
  for (const TExifTag& entry : kTags) {
    if (entry.tag == tag) return std::u16string(entry.name);
  }
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(tag));
  return AsciiToUtf16(hex) + u" not found";
}
