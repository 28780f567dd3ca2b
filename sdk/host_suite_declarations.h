/* Suites of the host that the effect knows by name and version but does not call: declared only, so a
 * suite table can hold a typed pointer to each. */
#ifndef ORVANE_SDK_HOST_SUITE_DECLARATIONS_H
#define ORVANE_SDK_HOST_SUITE_DECLARATIONS_H

#ifdef __cplusplus
extern "C" {
#endif

typedef struct AEGP_StreamSuite8 AEGP_StreamSuite8; /* "AEGP Stream Suite" version 8 */
typedef struct AEGP_MarkerSuite1 AEGP_MarkerSuite1; /* "AEGP Marker Suite" version 1 */
typedef struct AEGP_MarkerSuite2 AEGP_MarkerSuite2; /* "AEGP Marker Suite" version 2 */
typedef struct AEGP_CompSuite9 AEGP_CompSuite9; /* "AEGP Comp Suite" version 9 */
typedef struct AEGP_CompSuite11 AEGP_CompSuite11; /* "AEGP Comp Suite" version 11 */
typedef struct AEGP_CompSuite14 AEGP_CompSuite14; /* "AEGP Comp Suite" version 14 */
typedef struct AEGP_CompSuite15 AEGP_CompSuite15; /* "AEGP Comp Suite" version 15 */
typedef struct AEGP_CompSuite18 AEGP_CompSuite18; /* "AEGP Comp Suite" version 18 */
typedef struct AEGP_LayerSuite8 AEGP_LayerSuite8; /* "AEGP Layer Suite" version 8 */
typedef struct AEGP_LayerSuite10 AEGP_LayerSuite10; /* "AEGP Layer Suite" version 10 */
typedef struct AEGP_StreamSuite7 AEGP_StreamSuite7; /* "AEGP Stream Suite" version 7 */
typedef struct AEGP_DynamicStreamSuite2 AEGP_DynamicStreamSuite2; /* "AEGP Dynamic Stream Suite" version 2 */
typedef struct AEGP_DynamicStreamSuite3 AEGP_DynamicStreamSuite3; /* "AEGP Dynamic Stream Suite" version 3 */
typedef struct AEGP_KeyframeSuite3 AEGP_KeyframeSuite3; /* "AEGP Keyframe Suite" version 3 */
typedef struct AEGP_CanvasSuite10 AEGP_CanvasSuite10; /* "AEGP Canvas Suite" version 10 */
typedef struct AEGP_CanvasSuite11 AEGP_CanvasSuite11; /* "AEGP Canvas Suite" version 11 */
typedef struct AEGP_CameraSuite2 AEGP_CameraSuite2; /* "AEGP Camera Suite" version 2 */
typedef struct AEGP_RegisterSuite6 AEGP_RegisterSuite6; /* "AEGP Register Suite" version 6 */
typedef struct AEGP_MemorySuite1 AEGP_MemorySuite1; /* "AEGP Memory Suite" version 1 */
typedef struct AEGP_ItemSuite13 AEGP_ItemSuite13; /* "AEGP Item Suite" version 13 */
typedef struct AEGP_ItemSuite11 AEGP_ItemSuite11; /* "AEGP Item Suite" version 11 */
typedef struct AEGP_ItemSuite10 AEGP_ItemSuite10; /* "AEGP Item Suite" version 10 */
typedef struct AEGP_ItemSuite7 AEGP_ItemSuite7; /* "AEGP Item Suite" version 7 */
typedef struct AEGP_ItemSuite3 AEGP_ItemSuite3; /* "AEGP Item Suite" version 3 */
typedef struct AEGP_LightSuite1 AEGP_LightSuite1; /* "AEGP Light Suite" version 1 */
typedef struct AEGP_LightSuite2 AEGP_LightSuite2; /* "AEGP Light Suite" version 2 */
typedef struct AEGP_EffectSuite1 AEGP_EffectSuite1; /* "AEGP Effect Suite" version 1 */
typedef struct AEGP_LayerMaskSuite5 AEGP_LayerMaskSuite5; /* "AEGP Layer Mask Suite" version 5 */
typedef struct AEGP_MaskOutlineSuite3 AEGP_MaskOutlineSuite3; /* "AEGP Mask Outline Suite" version 3 */
typedef struct AEGP_CommandSuite1 AEGP_CommandSuite1; /* "AEGP Command Suite" version 1 */
typedef struct AEGP_RenderSuite1 AEGP_RenderSuite1; /* "AEGP Render Suite" version 1 */
typedef struct AEGP_RenderSuite2 AEGP_RenderSuite2; /* "AEGP Render Suite" version 2 */
typedef struct PF_ANSISuite1 PF_ANSISuite1; /* "PF ANSI Suite" version 1 */
typedef struct PF_FillMatteSuite2 PF_FillMatteSuite2; /* "PF Fill Matte Suite" version 2 */
typedef struct PF_WorldTransformSuite1 PF_WorldTransformSuite1; /* "PF World Transform Suite" version 1 */
typedef struct AEGP_QueryXformSuite4 AEGP_QueryXformSuite4; /* "AEGP QueryXform Suite" version 4 */
typedef struct AEGP_CompositeSuite4 AEGP_CompositeSuite4; /* "AEGP Composite Suite" version 4 */
typedef struct PF_PathQuerySuite1 PF_PathQuerySuite1; /* "PF Path Query Suite" version 1 */
typedef struct PF_PathDataSuite1 PF_PathDataSuite1; /* "PF Path Data Suite" version 1 */
typedef struct PF_AEAppSuite6 PF_AEAppSuite6; /* "PF AE App Suite" version 6 */
typedef struct PF_AEAdvAppSuite2 PF_AEAdvAppSuite2; /* "PF AE Adv App Suite" version 2 */
typedef struct AEGP_IOInSuite5 AEGP_IOInSuite5; /* "AEGP IO In Suite" version 5 */
typedef struct AEGP_IOOutSuite7 AEGP_IOOutSuite7; /* "AEGP IO Out Suite" version 7 */
typedef struct AEGP_PersistentDataSuite3 AEGP_PersistentDataSuite3; /* "AEGP Persistent Data Suite" version 3 */
typedef struct AEGP_RenderQueueSuite1 AEGP_RenderQueueSuite1; /* "AEGP Render Queue Suite" version 1 */
typedef struct AEGP_RenderQueueItemSuite3 AEGP_RenderQueueItemSuite3; /* "AEGP Render Queue Item Suite" version 3 */
typedef struct AEGP_OutputModuleSuite4 AEGP_OutputModuleSuite4; /* "AEGP Output Module Suite" version 4 */
typedef struct AEGP_FileImportManagerSuite3 AEGP_FileImportManagerSuite3; /* "AEGP File Import Manager Suite" version 3 */
typedef struct PF_Sampling8Suite1 PF_Sampling8Suite1; /* "PF Sampling8 Suite" version 1 */
typedef struct PF_Sampling16Suite1 PF_Sampling16Suite1; /* "PF Sampling16 Suite" version 1 */
typedef struct PF_iterate16Suite1 PF_iterate16Suite1; /* "PF iterate16 Suite" version 1 */
typedef struct PF_iterateFloatSuite1 PF_iterateFloatSuite1; /* "PF iterateFloat Suite" version 1 */
typedef struct AEGP_CollectionSuite2 AEGP_CollectionSuite2; /* "AEGP Collection Suite" version 2 */
typedef struct AEGP_TextDocumentSuite1 AEGP_TextDocumentSuite1; /* "AEGP Text Document Suite" version 1 */
typedef struct AEGP_SoundDataSuite1 AEGP_SoundDataSuite1; /* "AEGP Sound Data Suite" version 1 */
typedef struct AEGP_TextLayerSuite1 AEGP_TextLayerSuite1; /* "AEGP Text Layer Suite" version 1 */
typedef struct AEGP_ArtisanUtilSuite1 AEGP_ArtisanUtilSuite1; /* "AEGP Artisan Util Suite" version 1 */
typedef struct AEGP_WorldSuite2 AEGP_WorldSuite2; /* "AEGP World Suite" version 2 */
typedef struct AEGP_WorldSuite3 AEGP_WorldSuite3; /* "AEGP World Suite" version 3 */
typedef struct AEGP_RenderOptionsSuite1 AEGP_RenderOptionsSuite1; /* "AEGP Render Options Suite" version 1 */
typedef struct AEGP_TrackerSuite1 AEGP_TrackerSuite1; /* "AEGP Tracker Suite" version 1 */
typedef struct AEGP_TrackerUtilitySuite1 AEGP_TrackerUtilitySuite1; /* "AEGP Tracker Utility Suite" version 1 */
typedef struct AE_PluginHelperSuite2 AE_PluginHelperSuite2; /* "AE Plugin Helper Suite2" version 2 */
typedef struct AEGP_LayerSuite11 AEGP_LayerSuite11; /* "AEGP Layer Suite" version 11 */
typedef struct AEGP_LayerSuite12 AEGP_LayerSuite12; /* "AEGP Layer Suite" version 12 */
typedef struct AEGP_LayerSuite5 AEGP_LayerSuite5; /* "AEGP Layer Suite" version 5 */
typedef struct AEGP_LayerMaskSuite2 AEGP_LayerMaskSuite2; /* "AEGP Layer Mask Suite" version 2 */
typedef struct AEGP_StreamSuite4 AEGP_StreamSuite4; /* "AEGP Stream Suite" version 4 */
typedef struct AEGP_CompSuite4 AEGP_CompSuite4; /* "AEGP Comp Suite" version 4 */
typedef struct AEGP_CollectionSuite1 AEGP_CollectionSuite1; /* "AEGP Collection Suite" version 1 */
typedef struct AEGP_KeyframeSuite1 AEGP_KeyframeSuite1; /* "AEGP Keyframe Suite" version 1 */
typedef struct AEGP_MaskOutlineSuite2 AEGP_MaskOutlineSuite2; /* "AEGP Mask Outline Suite" version 2 */
typedef struct PF_AEAdvAppSuite1 PF_AEAdvAppSuite1; /* "PF AE Adv App Suite" version 1 */
typedef struct AEGP_UtilitySuite3 AEGP_UtilitySuite3; /* "AEGP Utility Suite" version 3 */
typedef struct AEGP_RenderOptionsSuite2 AEGP_RenderOptionsSuite2; /* "AEGP Render Options Suite" version 2 */
typedef struct AEGP_ProjSuite8 AEGP_ProjSuite8; /* "AEGP Proj Suite" version 8 */
typedef struct AEGP_ProjSuite9 AEGP_ProjSuite9; /* "AEGP Proj Suite" version 9 */
typedef struct AEGP_FootageSuite11 AEGP_FootageSuite11; /* "AEGP Footage Suite" version 11 */
typedef struct AEGP_RenderQueueItemSuite4 AEGP_RenderQueueItemSuite4; /* "AEGP Render Queue Item Suite" version 4 */
typedef struct AEGP_UtilitySuite10 AEGP_UtilitySuite10; /* "AEGP Utility Suite" version 10 */
typedef struct PF_ColorSettingsSuite3 PF_ColorSettingsSuite3; /* "PF Color Settings Suite" version 3 */
typedef struct PF_ColorSettingsSuite1 PF_ColorSettingsSuite1; /* "PF Color Settings Suite" version 1 */
typedef struct PF_AEAdvItemSuite1 PF_AEAdvItemSuite1; /* "PF AE Adv Item Suite" version 1 */
typedef struct PF_ColorParamSuite1 PF_ColorParamSuite1; /* "PF ColorParamSuite" version 1 */
typedef struct PF_SamplingFloatSuite1 PF_SamplingFloatSuite1; /* "PF SamplingFloat Suite" version 1 */
typedef struct AEGP_UtilitySuite11 AEGP_UtilitySuite11; /* "AEGP Utility Suite" version 11 */
typedef struct PF_EffectCustomUISuite1 PF_EffectCustomUISuite1; /* "PF Effect Custom UI Suite" version 1 */
typedef struct PF_EffectCustomUIOverlayThemeSuite1 PF_EffectCustomUIOverlayThemeSuite1; /* "PF Effect Custom UI Overlay Theme Suite" version 1 */
typedef struct DRAWBOT_DrawSuite1 DRAWBOT_DrawSuite1; /* "DRAWBOT Draw Suite" version 1 */
typedef struct DRAWBOT_SupplierSuite1 DRAWBOT_SupplierSuite1; /* "DRAWBOT Supplier Suite" version 1 */
typedef struct DRAWBOT_SurfaceSuite1 DRAWBOT_SurfaceSuite1; /* "DRAWBOT Surface Suite" version 1 */
typedef struct DRAWBOT_PathSuite1 DRAWBOT_PathSuite1; /* "DRAWBOT Path Suite" version 1 */

#ifdef __cplusplus
}
#endif

#endif
