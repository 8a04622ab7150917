# SPDX-License-Identifier: MIT
target_sources(BriskoPlatform PRIVATE
  net/UrlLoading.cpp net/UrlLoading.h)
