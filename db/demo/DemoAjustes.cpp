// Ajustes de crédito, de contribuição e de base de cálculo.
#include "db/demo/DemoEmpresa.h"

namespace demo {

void TGeradorEmpresa::Ajustes() {
  if (EhEFD()) {
    auto& aj = c("EFDAJUSTEPISCOFINS",
                 "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO "
                 "DESCAJUSTE ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS TIPOAPURACAO");
    auto& det = c("EFDAJUSTEPISCOFINSDET",
                  "CODIGOEMPRESA CODIGOESTAB SEQAJUSTE SEQ DATAOPERACAO QUANTIDADE CSTPIS CSTCOFINS BASECALCULOPISCOFINS "
                  "VLRAJUSTEPIS VLRAJUSTECOFINS DESCAJUSTE CODIGOTABCTBFIS CONTACTB DESCRCOMPL");
    // 1: redução de crédito; 2: acréscimo de contribuição; cada um com o seu detalhe por CST, de
    // onde os lançamentos tiram o valor
    const int64_t b1 = s.Entre(100000, 400000), b2 = s.Entre(20000, 80000);
    aj.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 25), I(0), T("0"), T("4.3.06.101"), T("4.3.08.06"), T(""),
              T("ESTORNO DE CRÉDITO DE MERCADORIA FURTADA"), A(16500), A(76000), V(Tributo(b1, 16500)),
              V(Tributo(b1, 76000)), I(0)});
    det.Linha({I(FEmpresa), I(1), I(1), I(1), D(FInicio + 25), I(0), I(50), I(50), V(b1), V(Tributo(b1, 16500)),
               V(Tributo(b1, 76000)), T("MERCADORIA FURTADA"), I(1), T("1.1.3.01.001"), T("BOLETIM DE OCORRÊNCIA")});
    aj.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 26), I(1), T("1"), T("4.3.05.01"), T("4.3.08.05"), T("PA 123/2023"),
              T("DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR"), A(16500), A(76000), V(Tributo(b2, 16500)),
              V(Tributo(b2, 76000)), I(0)});
    det.Linha({I(FEmpresa), I(1), I(2), I(1), D(FInicio + 26), I(0), I(1), I(1), V(b2), V(Tributo(b2, 16500)),
               V(Tributo(b2, 76000)), T("DIFERENÇA DE ALÍQUOTA"), I(1), T("3.1.1.01.001"), T("PA 123/2023")});
    FAjustes.push_back({0, "0", "4.3.08.06", Tributo(b1, 16500), Tributo(b1, 76000), b1,
                        "ESTORNO DE CRÉDITO DE MERCADORIA FURTADA", "", 25, 50, "MERCADORIA FURTADA", "1.1.3.01.001",
                        "BOLETIM DE OCORRÊNCIA"});
    FAjustes.push_back({1, "1", "4.3.08.05", Tributo(b2, 16500), Tributo(b2, 76000), b2,
                        "DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR", "PA 123/2023", 26, 1, "DIFERENÇA DE ALÍQUOTA",
                        "3.1.1.01.001", "PA 123/2023"});

    auto& abc = c("EFDAJUSTEBASECALCCONTRIBAPUR",
                  "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS INDAJUSTE CODIGOAJUSTE VALORAJUSTE INDAPROPRIACAOAJUSTE "
                  "NUMPROCREF DESCRAJUSTE CONTACTB");
    FAjusteBC = s.Entre(50000, 300000);
    abc.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 27), I(0), T("4.3.18.01"), V(FAjusteBC), I(1),
               T("0012345-67.2019.4.03.6100"), T("EXCLUSÃO DO ICMS DESTACADO"), I(31101001)});
    abc.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 27), I(1), T("4.3.18.03"), V(s.Entre(10000, 50000)), I(2), T(""),
               T("RECEITA NÃO ESCRITURADA"), I(31101002)});
  }
  if (FPerfil == TPerfilDemo::pdNaoCumulativo) {
    c("LUCROREALAJUSTEPISCOFINS",
      "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO DESCAJUSTE "
      "ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS")
        .Linha({I(FEmpresa), I(1), I(1), D(FInicio + 25), I(0), T("0"), T("4.3.06.101"), T("4.3.08.06"), T(""),
                T("ESTORNO DE CRÉDITO"), A(16500), A(76000), V(1650), V(7600)});
    c("LUCROREALDEDUCAODIVERSAS",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP INDNATDED")
        .Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(650), V(3000), V(100000), T(""), T("DEDUÇÃO"), I(0)});
    // Exclusões da base no caminho dos lançamentos sem a EFD (lucro real): vendas canceladas
    // da matriz e uma exclusão da filial por CST sem saída no mês (fica sem efeito).
    auto& excl = c("LUCROREALDEDUCAOEXCLUSAO",
                   "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL");
    excl.Linha({I(FEmpresa), I(1), D(FInicio + 21), I(1), I(101), I(1), A(16500), A(76000), V(25000),
                T("VENDAS CANCELADAS")});
    excl.Linha({I(FEmpresa), I(2), D(FInicio + 21), I(1), I(101), I(5), A(16500), A(76000), V(12000),
                T("EXCLUSÃO SEM SAÍDA DO CST")});
  }
  if (FPerfil == TPerfilDemo::pdLucroRealSemEFD) {
    // redução de crédito e acréscimo de contribuição, nas tabelas do regime
    auto& aj = c("LUCROREALAJUSTEPISCOFINS",
                 "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO "
                 "DESCAJUSTE ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS");
    const int64_t b1 = s.Entre(100000, 400000), b2 = s.Entre(20000, 80000);
    aj.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 25), I(0), T("0"), T("4.3.06.101"), T("4.3.08.06"), T(""),
              T("ESTORNO DE CRÉDITO DE MERCADORIA AVARIADA"), A(16500), A(76000), V(Tributo(b1, 16500)),
              V(Tributo(b1, 76000))});
    aj.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 26), I(1), T("1"), T("4.3.05.01"), T("4.3.08.05"), T("PA 456/2023"),
              T("DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR"), A(16500), A(76000), V(Tributo(b2, 16500)),
              V(Tributo(b2, 76000))});
    FAjustes.push_back({0, "0", "4.3.08.06", Tributo(b1, 16500), Tributo(b1, 76000), b1,
                        "ESTORNO DE CRÉDITO DE MERCADORIA AVARIADA", "", 25, 0, "", "", ""});
    FAjustes.push_back({1, "1", "4.3.08.05", Tributo(b2, 16500), Tributo(b2, 76000), 0,
                        "DIFERENÇA DE ALÍQUOTA DE PERÍODO ANTERIOR", "PA 456/2023", 26, 0, "", "", ""});
  }
  if (FPerfil == TPerfilDemo::pdPresumido) {
    auto& aj = c("LUCROPRESAJUSTEPISCOFINS",
                 "CODIGOEMPRESA CODIGOESTAB SEQ DATALCTOFIS TIPOAJUSTE INDAJUSTE NATAJUSTE CODIGOAJUSTE NUMPROCESSO "
                 "DESCAJUSTE ALIQAJUSTEPIS ALIQAJUSTECOFINS VLRAJUSTEPIS VLRAJUSTECOFINS");
    const int64_t imob = s.Entre(100000, 500000);
    aj.Linha({I(FEmpresa), I(1), I(1), D(FInicio + 20), I(1), T("0"), T("4.3.05.54"), T("4.3.08.05"), T(""),
              T("REDUÇÃO DE CONTRIBUIÇÃO DA ATIVIDADE IMOBILIÁRIA"), A(6500), A(30000), V(Tributo(imob, 6500)),
              V(Tributo(imob, 30000))});
    aj.Linha({I(FEmpresa), I(1), I(2), D(FInicio + 21), I(1), T("1"), T("4.3.05.51"), T("4.3.08.01"),
              T("0012345-67.2019.4.03.6100"), T("AÇÃO JUDICIAL"), A(6500), A(30000), V(1300), V(6000)});
    c("LUCROPRESDEDUCAODIVERSAS",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ INDORIDED VLDEDPIS VLDEDCOFINS VLBCOPER CNPJ INFCOMP")
        .Linha({I(FEmpresa), I(1), D(FInicio + 24), I(1), I(1), V(1950), V(9000), V(300000), T(""), T("DEDUÇÃO")});
    c("LUCROPRESDEDUCAOEXCLUSAO",
      "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET INFOCOMPL")
        .Linha({I(FEmpresa), I(1), D(FInicio + 20), I(1), I(101), I(1), A(6500), A(30000),
                V(FExclusaoPresumido = s.Entre(10000, 50000)), T("VENDAS CANCELADAS")});
  }
}

}  // namespace demo
