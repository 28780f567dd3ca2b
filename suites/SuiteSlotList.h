// Every suite name and version the framework knows, one slot each, in declared order.
// ORVANE_SUITE_SLOT(number, accessor, suite type, "name as passed to the host", version)
#pragma once

#define ORVANE_SUITE_SLOTS(ORVANE_SUITE_SLOT) \
    ORVANE_SUITE_SLOT(1, aegpKeyframeSuite4, AEGP_KeyframeSuite4, "AEGP Keyframe Suite", 4) \
    ORVANE_SUITE_SLOT(2, aegpStreamSuite8, AEGP_StreamSuite8, "AEGP Stream Suite", 8) \
    ORVANE_SUITE_SLOT(3, aegpStreamSuite9, AEGP_StreamSuite9, "AEGP Stream Suite", 9) \
    ORVANE_SUITE_SLOT(4, aegpMarkerSuite1, AEGP_MarkerSuite1, "AEGP Marker Suite", 1) \
    ORVANE_SUITE_SLOT(5, aegpMarkerSuite2, AEGP_MarkerSuite2, "AEGP Marker Suite", 2) \
    ORVANE_SUITE_SLOT(6, aegpCompSuite9, AEGP_CompSuite9, "AEGP Comp Suite", 9) \
    ORVANE_SUITE_SLOT(7, aegpCompSuite11, AEGP_CompSuite11, "AEGP Comp Suite", 11) \
    ORVANE_SUITE_SLOT(8, aegpCompSuite14, AEGP_CompSuite14, "AEGP Comp Suite", 14) \
    ORVANE_SUITE_SLOT(9, aegpCompSuite15, AEGP_CompSuite15, "AEGP Comp Suite", 15) \
    ORVANE_SUITE_SLOT(10, aegpCompSuite18, AEGP_CompSuite18, "AEGP Comp Suite", 18) \
    ORVANE_SUITE_SLOT(11, aegpLayerSuite8, AEGP_LayerSuite8, "AEGP Layer Suite", 8) \
    ORVANE_SUITE_SLOT(12, aegpLayerSuite10, AEGP_LayerSuite10, "AEGP Layer Suite", 10) \
    ORVANE_SUITE_SLOT(13, aegpStreamSuite7, AEGP_StreamSuite7, "AEGP Stream Suite", 7) \
    ORVANE_SUITE_SLOT(14, aegpDynamicStreamSuite2, AEGP_DynamicStreamSuite2, "AEGP Dynamic Stream Suite", 2) \
    ORVANE_SUITE_SLOT(15, aegpDynamicStreamSuite3, AEGP_DynamicStreamSuite3, "AEGP Dynamic Stream Suite", 3) \
    ORVANE_SUITE_SLOT(16, aegpDynamicStreamSuite5, AEGP_DynamicStreamSuite5, "AEGP Dynamic Stream Suite", 5) \
    ORVANE_SUITE_SLOT(17, aegpKeyframeSuite3, AEGP_KeyframeSuite3, "AEGP Keyframe Suite", 3) \
    ORVANE_SUITE_SLOT(18, aegpCanvasSuite10, AEGP_CanvasSuite10, "AEGP Canvas Suite", 10) \
    ORVANE_SUITE_SLOT(19, aegpCanvasSuite11, AEGP_CanvasSuite11, "AEGP Canvas Suite", 11) \
    ORVANE_SUITE_SLOT(20, aegpCameraSuite2, AEGP_CameraSuite2, "AEGP Camera Suite", 2) \
    ORVANE_SUITE_SLOT(21, aegpRegisterSuite6, AEGP_RegisterSuite6, "AEGP Register Suite", 6) \
    ORVANE_SUITE_SLOT(22, aegpMemorySuite1, AEGP_MemorySuite1, "AEGP Memory Suite", 1) \
    ORVANE_SUITE_SLOT(23, aegpItemSuite13, AEGP_ItemSuite13, "AEGP Item Suite", 13) \
    ORVANE_SUITE_SLOT(24, aegpItemSuite11, AEGP_ItemSuite11, "AEGP Item Suite", 11) \
    ORVANE_SUITE_SLOT(25, aegpItemSuite10, AEGP_ItemSuite10, "AEGP Item Suite", 10) \
    ORVANE_SUITE_SLOT(26, aegpItemSuite7, AEGP_ItemSuite7, "AEGP Item Suite", 7) \
    ORVANE_SUITE_SLOT(27, aegpItemSuite3, AEGP_ItemSuite3, "AEGP Item Suite", 3) \
    ORVANE_SUITE_SLOT(28, aegpLightSuite1, AEGP_LightSuite1, "AEGP Light Suite", 1) \
    ORVANE_SUITE_SLOT(29, aegpLightSuite2, AEGP_LightSuite2, "AEGP Light Suite", 2) \
    ORVANE_SUITE_SLOT(30, aegpEffectSuite1, AEGP_EffectSuite1, "AEGP Effect Suite", 1) \
    ORVANE_SUITE_SLOT(31, aegpEffectSuite2, AEGP_EffectSuite2, "AEGP Effect Suite", 2) \
    ORVANE_SUITE_SLOT(32, aegpEffectSuite3, AEGP_EffectSuite3, "AEGP Effect Suite", 3) \
    ORVANE_SUITE_SLOT(33, aegpLayerMaskSuite5, AEGP_LayerMaskSuite5, "AEGP Layer Mask Suite", 5) \
    ORVANE_SUITE_SLOT(34, aegpMaskOutlineSuite3, AEGP_MaskOutlineSuite3, "AEGP Mask Outline Suite", 3) \
    ORVANE_SUITE_SLOT(35, aegpCommandSuite1, AEGP_CommandSuite1, "AEGP Command Suite", 1) \
    ORVANE_SUITE_SLOT(36, aegpUtilitySuite7, AEGP_UtilitySuite7, "AEGP Utility Suite", 7) \
    ORVANE_SUITE_SLOT(37, aegpRenderSuite1, AEGP_RenderSuite1, "AEGP Render Suite", 1) \
    ORVANE_SUITE_SLOT(38, aegpRenderSuite2, AEGP_RenderSuite2, "AEGP Render Suite", 2) \
    ORVANE_SUITE_SLOT(39, pfANSISuite1, PF_ANSISuite1, "PF ANSI Suite", 1) \
    ORVANE_SUITE_SLOT(40, pfHandleSuite2, PF_HandleSuite2, "PF Handle Suite", 2) \
    ORVANE_SUITE_SLOT(41, pfFillMatteSuite2, PF_FillMatteSuite2, "PF Fill Matte Suite", 2) \
    ORVANE_SUITE_SLOT(42, pfWorldTransformSuite1, PF_WorldTransformSuite1, "PF World Transform Suite", 1) \
    ORVANE_SUITE_SLOT(43, aegpQueryXformSuite4, AEGP_QueryXformSuite4, "AEGP QueryXform Suite", 4) \
    ORVANE_SUITE_SLOT(44, aegpCompositeSuite4, AEGP_CompositeSuite4, "AEGP Composite Suite", 4) \
    ORVANE_SUITE_SLOT(45, pfWorldSuite1, PF_WorldSuite1, "PF World Suite", 1) \
    ORVANE_SUITE_SLOT(46, aegpPFInterfaceSuite1, AEGP_PFInterfaceSuite1, "AEGP PF Interface Suite", 1) \
    ORVANE_SUITE_SLOT(47, pfPathQuerySuite1, PF_PathQuerySuite1, "PF Path Query Suite", 1) \
    ORVANE_SUITE_SLOT(48, pfPathDataSuite1, PF_PathDataSuite1, "PF Path Data Suite", 1) \
    ORVANE_SUITE_SLOT(49, pfAEAppSuite6, PF_AEAppSuite6, "PF AE App Suite", 6) \
    ORVANE_SUITE_SLOT(50, pfAEAdvAppSuite2, PF_AEAdvAppSuite2, "PF AE Adv App Suite", 2) \
    ORVANE_SUITE_SLOT(51, aegpIOInSuite5, AEGP_IOInSuite5, "AEGP IO In Suite", 5) \
    ORVANE_SUITE_SLOT(52, aegpIOOutSuite7, AEGP_IOOutSuite7, "AEGP IO Out Suite", 7) \
    ORVANE_SUITE_SLOT(53, aegpPersistentDataSuite3, AEGP_PersistentDataSuite3, "AEGP Persistent Data Suite", 3) \
    ORVANE_SUITE_SLOT(54, aegpRenderQueueSuite1, AEGP_RenderQueueSuite1, "AEGP Render Queue Suite", 1) \
    ORVANE_SUITE_SLOT(55, aegpRenderQueueItemSuite3, AEGP_RenderQueueItemSuite3, "AEGP Render Queue Item Suite", 3) \
    ORVANE_SUITE_SLOT(56, aegpOutputModuleSuite4, AEGP_OutputModuleSuite4, "AEGP Output Module Suite", 4) \
    ORVANE_SUITE_SLOT(57, aegpFileImportManagerSuite3, AEGP_FileImportManagerSuite3, "AEGP File Import Manager Suite", 3) \
    ORVANE_SUITE_SLOT(58, pfSampling8Suite1, PF_Sampling8Suite1, "PF Sampling8 Suite", 1) \
    ORVANE_SUITE_SLOT(59, pfSampling16Suite1, PF_Sampling16Suite1, "PF Sampling16 Suite", 1) \
    ORVANE_SUITE_SLOT(60, pfIterate8Suite1, PF_Iterate8Suite1, "PF Iterate8 Suite", 1) \
    ORVANE_SUITE_SLOT(61, pfIterate16Suite1, PF_iterate16Suite1, "PF iterate16 Suite", 1) \
    ORVANE_SUITE_SLOT(62, pfIterateFloatSuite1, PF_iterateFloatSuite1, "PF iterateFloat Suite", 1) \
    ORVANE_SUITE_SLOT(63, aegpCollectionSuite2, AEGP_CollectionSuite2, "AEGP Collection Suite", 2) \
    ORVANE_SUITE_SLOT(64, aegpTextDocumentSuite1, AEGP_TextDocumentSuite1, "AEGP Text Document Suite", 1) \
    ORVANE_SUITE_SLOT(65, aegpSoundDataSuite1, AEGP_SoundDataSuite1, "AEGP Sound Data Suite", 1) \
    ORVANE_SUITE_SLOT(66, aegpIterateSuite1, AEGP_IterateSuite1, "AEGP Iterate Suite", 1) \
    ORVANE_SUITE_SLOT(67, aegpTextLayerSuite1, AEGP_TextLayerSuite1, "AEGP Text Layer Suite", 1) \
    ORVANE_SUITE_SLOT(68, aegpArtisanUtilSuite1, AEGP_ArtisanUtilSuite1, "AEGP Artisan Util Suite", 1) \
    ORVANE_SUITE_SLOT(69, aegpWorldSuite2, AEGP_WorldSuite2, "AEGP World Suite", 2) \
    ORVANE_SUITE_SLOT(70, aegpWorldSuite3, AEGP_WorldSuite3, "AEGP World Suite", 3) \
    ORVANE_SUITE_SLOT(71, aegpRenderOptionsSuite1, AEGP_RenderOptionsSuite1, "AEGP Render Options Suite", 1) \
    ORVANE_SUITE_SLOT(72, aegpTrackerSuite1, AEGP_TrackerSuite1, "AEGP Tracker Suite", 1) \
    ORVANE_SUITE_SLOT(73, aegpTrackerUtilitySuite1, AEGP_TrackerUtilitySuite1, "AEGP Tracker Utility Suite", 1) \
    ORVANE_SUITE_SLOT(74, aePluginHelperSuite2, AE_PluginHelperSuite2, "AE Plugin Helper Suite2", 2) \
    ORVANE_SUITE_SLOT(75, aegpLayerSuite11, AEGP_LayerSuite11, "AEGP Layer Suite", 11) \
    ORVANE_SUITE_SLOT(76, aegpLayerSuite12, AEGP_LayerSuite12, "AEGP Layer Suite", 12) \
    ORVANE_SUITE_SLOT(77, aegpLayerSuite13, AEGP_LayerSuite13, "AEGP Layer Suite", 13) \
    ORVANE_SUITE_SLOT(78, aegpLayerSuite5, AEGP_LayerSuite5, "AEGP Layer Suite", 5) \
    ORVANE_SUITE_SLOT(79, aegpLayerMaskSuite2, AEGP_LayerMaskSuite2, "AEGP Layer Mask Suite", 2) \
    ORVANE_SUITE_SLOT(80, aegpStreamSuite4, AEGP_StreamSuite4, "AEGP Stream Suite", 4) \
    ORVANE_SUITE_SLOT(81, aegpCompSuite4, AEGP_CompSuite4, "AEGP Comp Suite", 4) \
    ORVANE_SUITE_SLOT(82, aegpCollectionSuite1, AEGP_CollectionSuite1, "AEGP Collection Suite", 1) \
    ORVANE_SUITE_SLOT(83, aegpKeyframeSuite1, AEGP_KeyframeSuite1, "AEGP Keyframe Suite", 1) \
    ORVANE_SUITE_SLOT(84, aegpMaskOutlineSuite2, AEGP_MaskOutlineSuite2, "AEGP Mask Outline Suite", 2) \
    ORVANE_SUITE_SLOT(85, pfAEAdvAppSuite1, PF_AEAdvAppSuite1, "PF AE Adv App Suite", 1) \
    ORVANE_SUITE_SLOT(86, aegpUtilitySuite3, AEGP_UtilitySuite3, "AEGP Utility Suite", 3) \
    ORVANE_SUITE_SLOT(87, aegpRenderOptionsSuite2, AEGP_RenderOptionsSuite2, "AEGP Render Options Suite", 2) \
    ORVANE_SUITE_SLOT(88, aegpProjSuite8, AEGP_ProjSuite8, "AEGP Proj Suite", 8) \
    ORVANE_SUITE_SLOT(89, aegpProjSuite9, AEGP_ProjSuite9, "AEGP Proj Suite", 9) \
    ORVANE_SUITE_SLOT(90, aegpFootageSuite11, AEGP_FootageSuite11, "AEGP Footage Suite", 11) \
    ORVANE_SUITE_SLOT(91, aegpRenderQueueItemSuite4, AEGP_RenderQueueItemSuite4, "AEGP Render Queue Item Suite", 4) \
    ORVANE_SUITE_SLOT(92, aegpUtilitySuite10, AEGP_UtilitySuite10, "AEGP Utility Suite", 10) \
    ORVANE_SUITE_SLOT(93, pfColorSettingsSuite3, PF_ColorSettingsSuite3, "PF Color Settings Suite", 3) \
    ORVANE_SUITE_SLOT(94, pfColorSettingsSuite1, PF_ColorSettingsSuite1, "PF Color Settings Suite", 1) \
    ORVANE_SUITE_SLOT(95, pfAEAdvItemSuite1, PF_AEAdvItemSuite1, "PF AE Adv Item Suite", 1) \
    ORVANE_SUITE_SLOT(96, pfColorParamSuite1, PF_ColorParamSuite1, "PF ColorParamSuite", 1) \
    ORVANE_SUITE_SLOT(97, pfSamplingFloatSuite1, PF_SamplingFloatSuite1, "PF SamplingFloat Suite", 1) \
    ORVANE_SUITE_SLOT(98, aegpUtilitySuite11, AEGP_UtilitySuite11, "AEGP Utility Suite", 11) \
    ORVANE_SUITE_SLOT(99, pfEffectCustomUISuite1, PF_EffectCustomUISuite1, "PF Effect Custom UI Suite", 1) \
    ORVANE_SUITE_SLOT(100, pfEffectCustomUIOverlayThemeSuite1, PF_EffectCustomUIOverlayThemeSuite1, "PF Effect Custom UI Overlay Theme Suite", 1) \
    ORVANE_SUITE_SLOT(101, drawbotDrawSuite1, DRAWBOT_DrawSuite1, "DRAWBOT Draw Suite", 1) \
    ORVANE_SUITE_SLOT(102, drawbotSupplierSuite1, DRAWBOT_SupplierSuite1, "DRAWBOT Supplier Suite", 1) \
    ORVANE_SUITE_SLOT(103, drawbotSurfaceSuite1, DRAWBOT_SurfaceSuite1, "DRAWBOT Surface Suite", 1) \
    ORVANE_SUITE_SLOT(104, drawbotPathSuite1, DRAWBOT_PathSuite1, "DRAWBOT Path Suite", 1)
