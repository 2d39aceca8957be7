// Painting and pictures in one include: colours, fonts, pens, brushes, the
// canvas, bitmaps, icons, PNG, JPEG and GIF images, pictures, and the
// off-screen buffer of the owner-drawn controls.
#pragma once
#include "vcl/Bitmap.h"
#include "vcl/Canvas.h"
#include "vcl/Color.h"
#include "vcl/Font.h"
#include "vcl/GifImage.h"
#include "vcl/JpegImage.h"
#include "vcl/PaintBuffer.h"
#include "vcl/Picture.h"
#include "vcl/PngImage.h"
#include "vcl/Types.h"
